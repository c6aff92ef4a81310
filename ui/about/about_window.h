#pragma once

#include <QDialog>

class QCloseEvent;
class QLabel;
class QPushButton;

namespace ao07::ui {

/// The About window: the program's icon, title, version and description, and the credit line.
/// There is at most one; it is modeless, has no owner and keeps the program alive while it is
/// open, even after the main window has been closed.
class AboutWindow : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutWindow)

public:
    /// Shows the one About window, modeless and without an owner: loads it when it is not
    /// loaded, otherwise brings the open one to the front.
    static AboutWindow* ShowAbout();

    /// The About window while it is loaded, or nullptr (also once OK has unloaded it, before
    /// the closed window has been deleted).
    static AboutWindow* Instance();

    ~AboutWindow() override;

    /// Esc presses OK, as the window's cancel button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AboutWindow();

    void fillTexts();
    void onOkClicked();
    void CentreOnScreen();

    QLabel* m_picIcon = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_credit = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

}  // namespace ao07::ui
