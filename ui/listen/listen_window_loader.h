#pragma once

#include <QString>

namespace ao07::ui {

class ListenWindowFactory;

/// The Listen window's module, loaded the first time it is asked for: installed beside the
/// program's libraries, or in the build tree. Returns nullptr and sets `error` when it cannot be
/// loaded.
ListenWindowFactory* ListenWindowModule(QString& error);

}  // namespace ao07::ui
