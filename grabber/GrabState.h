#pragma once
// The grabber window's states and what its controls show in each: idle ("Grab" on,
// "Stop" off), grabbing and finished ("Grab" off, "Stop" on). The status text follows
// the downloader's busy flag alone.
#include "components/downloader/GrabRules.h"

#include <QString>

class TGrabState {
public:
    enum TState { Idle, Grabbing, Finished };

    TState State() const { return state; }
    bool GrabEnabled() const { return state == Idle; }
    bool StopEnabled() const { return state != Idle; }

    void GrabClicked() { state = Grabbing; }
    void StopClicked() { state = Idle; }
    // The downloader went idle by itself: the buttons stay until "Stop" is clicked.
    void BusyChanged(bool busy) {
        if (!busy && state == Grabbing)
            state = Finished;
    }

    static QString StatusText(bool busy);
    static TclGrabOptions OptionsFrom(bool grabAll, bool grabImages, bool grabData);

private:
    TState state = Idle;
};
