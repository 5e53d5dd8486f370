#pragma once

#include <QFrame>
#include <QLabel>
#include <QString>

namespace engine::windows {

// The controls the engine's windows are made of, named as the system names
// them so that tests and the description find them.
QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent);
// A sunken frame of the given shape (the decoration shapes and lines).
QFrame* MakeShape(const char* name, QFrame::Shape shape, QWidget* parent);

}  // namespace engine::windows
