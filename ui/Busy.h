#pragma once
// Feedback while work keeps the GUI thread for seconds: deleting or copying many files,
// waiting for the model converter.
#include "platform/Process.h"

// A wait cursor over every window of the editor for as long as it lives; nests. Message
// boxes shown meanwhile still get the normal cursor.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// While an outside program runs: a wait cursor, and the windows go on repainting. No user
// input is taken meanwhile, so no handler starts in the middle of the one that waits.
class GuiProcessWaiter : public ProcessWaiter {
public:
    void Begin() override;
    void Poll() override;
    void End() override;
};
