#include "ui/frm_about.h"

#include <QPointer>

#include "core/program_identity.h"

namespace ao07::ui {
namespace {
QPointer<FrmAbout> g_about;
}

FrmAbout::FrmAbout() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kProgramTitle));
}

FrmAbout* FrmAbout::Instance() {
    return g_about.data();
}

FrmAbout* FrmAbout::ShowAbout() {
    if (!g_about) {
        g_about = new FrmAbout;
    }
    g_about->show();
    g_about->raise();
    g_about->activateWindow();
    return g_about.data();
}

}  // namespace ao07::ui
