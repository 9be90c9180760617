#pragma once
// The reader's preset feed addresses and the rule for remembering typed addresses.
#include <QStringList>

// The 29 preset feed addresses, in the order the address list shows them.
const QStringList& PresetFeeds();
// The address the reader starts with (preset 15, a software developer-network feed).
QString InitialFeedAddress();

// Appends address to list unless an entry is exactly equal to it (case-sensitive);
// returns whether it was appended.
bool RememberAddress(QStringList& list, const QString& address);
