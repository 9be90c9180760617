#pragma once
// Sound playback of a wave file, asynchronous. A missing file, or a system without a
// sound player, is silent.
#include <QString>

// Returns true when playback was started.
bool PlaySoundFile(const QString& fileName);
