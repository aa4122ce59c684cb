#include "effects/ui/EditPRules.h"

#include <QCoreApplication>
#include <charconv>
#include <limits>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "effects/EffectTable.h"
#include "store/PicEdit.h"
#include "store/TextCodec.h"

namespace velmora::ui {

namespace {

std::string Trimmed(const QString& text) { return std::string(TrimBlanks(text.toStdString())); }

}  // namespace

int EffectLineOf(const TPicInfo& pic) noexcept {
    return pic.Effect >= 0 && pic.Effect <= EffectCount ? pic.Effect : 0;
}

TEditPFields FieldsOf(const TPicInfo& pic) {
    return TEditPFields{QString::fromStdString(pic.Title.Text()), QString::number(pic.Dwell),
                        EffectLineOf(pic)};
}

bool SaveButtonEnabled(const TPicInfo& pic, const TEditPFields& fields) {
    const bool sameTitle = Trimmed(fields.Title) == std::string(TrimBlanks(pic.Title.Text()));
    const bool sameDwell = Trimmed(fields.DwellText) == std::to_string(pic.Dwell);
    const bool sameEffect = fields.EffectLine == EffectLineOf(pic);
    return !(sameTitle && sameDwell && sameEffect);
}

QString EditPCaption(int picIndex) {
    return QCoreApplication::translate("velmora::ui::TFrmEditP", "图片编辑[第[%1]张]")
        .arg(picIndex + 1);
}

TStepButtons StepButtons(int picIndex, int picCount) noexcept {
    return TStepButtons{picIndex > 0, picIndex < picCount - 1};
}

bool DwellKeyAccepted(int key, const QString& typedText) noexcept {
    if (key == Qt::Key_Backspace) return false;
    for (const QChar c : typedText) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

std::int32_t DwellFieldValue(const QString& text) {
    const std::string whole = text.toStdString();
    std::string_view digits = TrimBlanks(whole);
    // A leading "+" is read like a digit-only text; "-" gives a negative value.
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-') digits.remove_prefix(1);
    std::int32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end) {
        throw InvalidArgument("'" + whole + "' is not a valid integer value");
    }
    return value;
}

QString DwellAfterChange(const QString& text) {
    return DwellFieldValue(text) == 0 ? QStringLiteral("3") : text;
}

QString DwellMinus(const QString& text) {
    const std::int32_t value = DwellFieldValue(text);
    return QString::number(value == std::numeric_limits<std::int32_t>::min() ? value : value - 1);
}

QString DwellPlus(const QString& text) {
    const std::int32_t value = DwellFieldValue(text);
    return QString::number(value == std::numeric_limits<std::int32_t>::max() ? value : value + 1);
}

void SaveEditedPicture(TAlbumStore& store, int index, const TEditPFields& fields) {
    TPicEdit edit;
    edit.Title = fields.Title.toStdString();
    edit.Dwell = DwellFieldValue(fields.DwellText);
    edit.Effect = fields.EffectLine;
    const bool valid =
        index >= 0 && index < store.PicCount && static_cast<std::size_t>(index) < store.Pics.size();
    if (!valid) {
        SavePicEdit(store, index, edit);  // throws the store's own message
        return;
    }
    const TPicInfo before = store.Pics[index];
    try {
        SavePicEdit(store, index, edit);
    } catch (...) {
        store.Pics[index] = before;
        throw;
    }
}

void ApplyDwellTextToAll(TAlbumStore& store, const QString& dwellText) {
    const std::int32_t dwell = DwellFieldValue(dwellText);
    std::vector<std::int32_t> before;
    before.reserve(store.Pics.size());
    for (const TPicInfo& pic : store.Pics) before.push_back(pic.Dwell);
    try {
        ApplyDwellToAll(store, dwell);
    } catch (...) {
        for (std::size_t i = 0; i < before.size() && i < store.Pics.size(); ++i) {
            store.Pics[i].Dwell = before[i];
        }
        throw;
    }
}

}  // namespace velmora::ui
