#include "engine/windows/form_parts.h"

namespace engine::windows {

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QFrame* MakeShape(const char* name, QFrame::Shape shape, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromUtf8(name));
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

}  // namespace engine::windows
