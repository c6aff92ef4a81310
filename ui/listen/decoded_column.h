#pragma once

#include <QWidget>

namespace ao07::ui {

class CopyPad;

/// The strip beside the copy pad where each complete row shows its four values.
class DecodedColumn final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DecodedColumn)

public:
    explicit DecodedColumn(CopyPad* pad);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CopyPad* m_pad;
};

}  // namespace ao07::ui
