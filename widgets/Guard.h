#pragma once
// The one guard every slot that calls the core runs through: an exception never leaves a
// slot; its text is shown in a message box captioned "Velmora" and the window stays usable.

#include <exception>
#include <functional>

class QWidget;

namespace velmora::ui {

class TServices;

/// Runs `work`; on an exception shows its text (warning icon, OK) over `parent` through
/// `services`. Returns true when `work` finished without an exception.
bool RunGuarded(QWidget* parent, TServices& services, const std::function<void()>& work);

/// Shows the text of `error` as RunGuarded does, for handlers that catch themselves.
void ShowError(QWidget* parent, TServices& services, const std::exception& error);

}  // namespace velmora::ui
