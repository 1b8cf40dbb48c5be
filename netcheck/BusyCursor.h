#pragma once

// Shows the wait cursor over the application for the object's lifetime, for
// work that blocks the UI thread.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
