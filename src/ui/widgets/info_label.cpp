#include "ui/widgets/info_label.h"

#include <QMouseEvent>

#include "ui/widgets/widget_helpers.h"

namespace vorsa {

InfoLabel::InfoLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {
    setObjectName(Indicizzato("lbl_info", index));
    setTextFormat(Qt::PlainText);
    setText(QStringLiteral("i"));
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setBold(true);
    f.setItalic(true);
    setFont(f);
    ImpostaColoreTesto(*this, 0x0000FF);
}

void InfoLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Premuta(index_);
    QLabel::mouseReleaseEvent(event);
}

}  // namespace vorsa
