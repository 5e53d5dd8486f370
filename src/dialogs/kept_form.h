#pragma once

#include <QPointer>

namespace dialogs {

// The window of a dialog kept for the whole program and used again for every
// question, so that it opens at once. A question asked while the kept window
// waits (from a timer, or from inside another wait) gets a window of its own,
// which the caller deletes after the answer. `Form` tells with Waiting()
// whether someone waits on it. User-interface thread only.
template <typename Form>
class KeptForm {
  public:
    // The window for one question: the kept one, created on first use, unless
    // it waits.
    static Form* Acquire() {
        QPointer<Form>& kept = Kept();
        if (!kept) kept = new Form;
        if (!kept->Waiting()) return kept;
        return new Form;
    }
    // False for a window of its own, which the caller deletes.
    static bool IsKept(const Form* form) { return form == Kept().data(); }
    // Deletes the kept window when the program ends.
    static void Close() { delete Kept().data(); }

  private:
    static QPointer<Form>& Kept() {
        static QPointer<Form> form;
        return form;
    }
};

}  // namespace dialogs
