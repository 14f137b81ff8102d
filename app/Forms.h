#pragma once

#include <QPointer>

// The client's windows are single program-wide instances: created on first reference, gone once
// unloaded (the window deletes itself), and created afresh by the next reference.
template <class Form> class Forms {
public:
    static Form &Get()
    {
        if (!slot()) {
            slot() = new Form;
        }
        return *slot();
    }
    static Form *IfLoaded() { return slot().data(); }

    // An unloaded window is forgotten at once, so the next reference loads a new one even while
    // the old one still waits to be deleted.
    static void Forget(const Form *form)
    {
        if (slot() == form) {
            slot() = nullptr;
        }
    }

private:
    static QPointer<Form> &slot()
    {
        static QPointer<Form> instance;
        return instance;
    }
};
