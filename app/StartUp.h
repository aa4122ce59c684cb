#pragma once
// What the program does before its main window exists: find the album store and take its
// lock. A store in use by another Velmora program is not touched: the user is told and the
// program ends.

#include <chrono>
#include <memory>
#include <string>

#include "store/StoreLock.h"

namespace velmora::ui {

class TServices;

/// The store root for `storeDir` (--store, empty for the default one) with its lock taken,
/// held as long as the returned lock lives. On failure (the store is busy, or the root cannot
/// be found or made) the reason is shown through `services` (caption "Velmora", critical
/// icon) and the result is null.
std::unique_ptr<TStoreLock> OpenStore(const std::string& storeDir, std::string& rootPath,
                                      TServices& services,
                                      std::chrono::milliseconds wait = std::chrono::seconds(2));

}  // namespace velmora::ui
