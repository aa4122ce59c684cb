#include "effects/ui/EffectTexts.h"

#include <QCoreApplication>

#include "effects/EffectTable.h"

namespace velmora::ui {

namespace {

bool IsListIndex(int index) { return index >= 0 && index <= EffectCount; }

}  // namespace

QString EffectText(int index) {
    if (!IsListIndex(index)) return EffectLineText(0);
    const std::string name = EffectName(index);
    return QCoreApplication::translate("velmora::Effects", name.c_str());
}

QString EffectLineText(int index) {
    if (!IsListIndex(index)) index = 0;
    return QStringLiteral("%1 ").arg(index, 3, 10, QLatin1Char('0')) + EffectText(index);
}

}  // namespace velmora::ui
