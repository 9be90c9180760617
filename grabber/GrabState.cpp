#include "grabber/GrabState.h"

QString TGrabState::StatusText(bool busy) {
    return busy ? QStringLiteral("Grabbing...") : QStringLiteral("Ready");
}

TclGrabOptions TGrabState::OptionsFrom(bool grabAll, bool grabImages, bool grabData) {
    TclGrabOptions options;
    if (grabAll)
        options |= gaGrabAll;
    if (grabImages)
        options |= gaGrabImages;
    if (grabData)
        options |= gaGrabData;
    return options;
}
