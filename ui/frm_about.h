#pragma once

#include <QDialog>

class QCloseEvent;
class QLabel;
class QPushButton;

namespace ao07::ui {

/// The About window: the program's icon, title, version and description, and the credit line.
/// There is at most one; it is modeless, has no owner and keeps the program alive while it is
/// open, even after the main window has been closed.
class FrmAbout : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmAbout)

public:
    /// Shows the one About window, modeless and without an owner: loads it when it is not
    /// loaded, otherwise brings the open one to the front.
    static FrmAbout* ShowAbout();

    /// The About window while it is loaded, or nullptr (also once OK has unloaded it, before
    /// the closed window has been deleted).
    static FrmAbout* Instance();

    ~FrmAbout() override;

    /// Esc presses OK, as the window's cancel button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FrmAbout();

    void Form_Load();
    void cmdOK_Click();
    void CentreOnScreen();

    QLabel* m_picIcon = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_Label1 = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

}  // namespace ao07::ui
