#pragma once

#include <QString>

class QWidget;

namespace ao07::ui {

class ListenWindowFactory;
struct ListenRequest;

/// The Listen window's module, loaded the first time it is asked for: installed beside the
/// program's libraries, or in the build tree. Returns nullptr and sets `error` when it cannot be
/// loaded.
ListenWindowFactory* ListenWindowModule(QString& error);

/// Opens a Listen window over `parent` (or alone, for nullptr) as `request` asks. Returns the
/// window, or nullptr after saying why on standard error and, with a parent, in a message box.
QWidget* OpenListenWindow(const ListenRequest& request, QWidget* parent);

/// The sound inputs as --device takes them, one to a line, for --help; a line that says why
/// when the module or the sound server cannot list them. Needs a QCoreApplication only.
QString SoundInputsHelp();

}  // namespace ao07::ui
