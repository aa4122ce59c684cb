#pragma once
// The rules of the picture editor that decide what its controls show and enable, and its two
// store operations, without the window: the Save button's three comparisons, the dwell field's
// typing filter and zero rule, "-" and "+", the caption, the stepping buttons, and Save and
// "到全部" that either complete or leave the album untouched in memory and on disk.

#include <QString>
#include <cstdint>

#include "store/Pub.h"

namespace velmora::ui {

/// What the editor's three editing controls hold.
struct TEditPFields {
    QString Title;       ///< text of EdtTM
    QString DwellText;   ///< text of EdtSJ, as typed
    int EffectLine = 0;  ///< selected line of LbXG (= effect index)
};

/// The list line that shows a record's effect: the effect index, or line 0 (random) for a
/// damaged value outside 0 .. 105, which production treats as random too.
int EffectLineOf(const TPicInfo& pic) noexcept;

/// The fields that show record `pic`: its title, its dwell in decimal, its effect line.
TEditPFields FieldsOf(const TPicInfo& pic);

/// UpdateSaveButton: false exactly when the trimmed title equals the record's trimmed title,
/// the trimmed dwell text equals the record's dwell in decimal (a text comparison: "03"
/// differs from "3") and the selected line is the record's effect line.
bool SaveButtonEnabled(const TPicInfo& pic, const TEditPFields& fields);

/// The window caption for picture `picIndex` (0-based): 图片编辑[第[n]张] with n = picIndex + 1.
QString EditPCaption(int picIndex);

/// Whether "上一张" and "下一张" are enabled on picture `picIndex` of `picCount`.
struct TStepButtons {
    bool Previous = false;
    bool Next = false;
};
TStepButtons StepButtons(int picIndex, int picCount) noexcept;

/// The dwell field's key filter: a key press is kept when it types nothing (arrows, Delete,
/// Home, ...) or types only digits; every other typed character is discarded, Backspace
/// included.
bool DwellKeyAccepted(int key, const QString& typedText) noexcept;

/// The dwell field's value: a whole number of 32 bits, blanks around it allowed, an optional
/// sign. Throws InvalidArgument "'<text>' is not a valid integer value" otherwise (the empty
/// field included).
std::int32_t DwellFieldValue(const QString& text);

/// The dwell field after its text changed: "3" when the text's value is 0, otherwise the text
/// unchanged. Throws like DwellFieldValue.
QString DwellAfterChange(const QString& text);

/// "-": the value less one, in decimal. Throws like DwellFieldValue.
QString DwellMinus(const QString& text);

/// "+": the value plus one, in decimal; the largest 32-bit value stays as it is.
QString DwellPlus(const QString& text);

/// Save: stores the trimmed title (cut to 36 bytes), the dwell value and the effect line into
/// picture `index` and rewrites "PicInfo". Every value is checked first; when anything fails
/// (a bad dwell text, a failing write) the record is restored and the error is thrown, so
/// neither memory nor disk has changed.
void SaveEditedPicture(TAlbumStore& store, int index, const TEditPFields& fields);

/// "到全部": gives every picture of the album the dwell value of `dwellText` and rewrites
/// "PicInfo". On any failure every record keeps its dwell and the error is thrown.
void ApplyDwellTextToAll(TAlbumStore& store, const QString& dwellText);

}  // namespace velmora::ui
