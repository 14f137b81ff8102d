#pragma once

#include <QPointer>

// The client's windows are single program-wide instances: created on first reference, gone once
// unloaded (the window deletes itself), and created afresh by the next reference.
template <class Form> class Forms {
public:
    static Form &Get()
    {
        if (!Slot()) {
            Slot() = new Form;
        }
        return *Slot();
    }
    static Form *IfLoaded() { return Slot().data(); }

    // An unloaded window is forgotten at once, so the next reference loads a new one even while
    // the old one still waits to be deleted.
    static void Forget(const Form *form)
    {
        if (Slot() == form) {
            Slot() = nullptr;
        }
    }

private:
    static QPointer<Form> &Slot()
    {
        static QPointer<Form> instance;
        return instance;
    }
};
