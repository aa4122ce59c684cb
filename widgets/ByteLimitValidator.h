#pragma once
// Limits a text field to what a record's short string holds: at most `capacity` bytes once
// the text is turned into GB18030, so what the user sees is exactly what is stored. Typed or
// pasted text that would not fit is cut at the last whole character that fits.

#include <QValidator>

namespace velmora::ui {

class TByteLimitValidator : public QValidator {
public:
    TByteLimitValidator(int capacity, QObject* parent);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    /// `text` cut at the last whole character whose GB18030 bytes fit in `capacity`.
    static QString Cut(const QString& text, int capacity);

private:
    int FCapacity;
};

}  // namespace velmora::ui
