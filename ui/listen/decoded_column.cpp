#include "ui/listen/decoded_column.h"

#include "ui/listen/copy_pad.h"

namespace ao07::ui {

DecodedColumn::DecodedColumn(CopyPad* pad) : QWidget(pad), m_pad(pad) {
    setObjectName(QStringLiteral("decodedColumn"));
}

QSize DecodedColumn::sizeHint() const {
    return {m_pad->DecodedColumnWidth(), 0};
}

void DecodedColumn::paintEvent(QPaintEvent* event) {
    m_pad->PaintDecoded(event);
}

}  // namespace ao07::ui
