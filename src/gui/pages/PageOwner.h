#pragma once

namespace starfall {

// What the unit and pilot pages know of the main window: where they pass on
// the key presses it handles (Ctrl+O, Ctrl+S, Ctrl+X). Not owning.
class PageOwner {
public:
    // `key` is a Qt::Key; the Ctrl state is read when the key is handled.
    virtual void handleKeyDown(int key) = 0;

protected:
    ~PageOwner() = default;
};

} // namespace starfall
