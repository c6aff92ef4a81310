#pragma once

#include <QDialog>

namespace ao07::ui {

/// The About window: the program's icon, title, version and description.
class FrmAbout : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmAbout)

public:
    /// Shows the one About window, modeless and without an owner: loads it when it is not
    /// loaded, otherwise brings the open one to the front.
    static FrmAbout* ShowAbout();

    /// The About window while it is loaded, or nullptr.
    static FrmAbout* Instance();

private:
    FrmAbout();
};

}  // namespace ao07::ui
