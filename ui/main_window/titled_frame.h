#pragma once

#include <QGroupBox>

namespace ao07::ui {

/// A frame of the main window: a thin rectangle in the palette's mid tone whose top edge runs
/// through the middle of its bold title, the title 8 pixels in from the left.
class TitledFrame final : public QGroupBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitledFrame)

public:
    TitledFrame(const QString& title, QWidget* parent);
    ~TitledFrame() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ao07::ui
