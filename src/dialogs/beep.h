#pragma once

namespace dialogs {

// The system beep, or the function a test put in its place.
void Beep();

}  // namespace dialogs
