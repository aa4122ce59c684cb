#include "widgets/ByteLimitValidator.h"

#include <string>

#include "store/TextCodec.h"

namespace velmora::ui {

TByteLimitValidator::TByteLimitValidator(int capacity, QObject* parent)
    : QValidator(parent), FCapacity(capacity) {}

QString TByteLimitValidator::Cut(const QString& text, int capacity) {
    const std::string gb = Utf8ToGb18030(text.toStdString());
    if (gb.size() <= static_cast<std::size_t>(capacity)) return text;
    const std::size_t keep = Gb18030CutLength(gb, static_cast<std::size_t>(capacity));
    return QString::fromStdString(Gb18030ToUtf8(gb.substr(0, keep)));
}

QValidator::State TByteLimitValidator::validate(QString& input, int& pos) const {
    const QString cut = Cut(input, FCapacity);
    if (cut.size() == input.size()) return Acceptable;
    // Keep the caret where it was, or at the end of what is left.
    input = cut;
    if (pos > input.size()) pos = static_cast<int>(input.size());
    return Acceptable;
}

void TByteLimitValidator::fixup(QString& input) const { input = Cut(input, FCapacity); }

}  // namespace velmora::ui
