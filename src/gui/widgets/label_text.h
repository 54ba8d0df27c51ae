#pragma once
// Label texts as the program's translators write them: "&" marks the next character as the
// access key (shown underlined), "&&" shows one "&". A label with a partner moves the focus to it
// on Alt+key.
#include <QString>

class QLabel;
class QWidget;

namespace widgets {

// Alt+the label's access key puts the focus on `partner` (a group box passes it on to its checked
// button); the partner is never clicked. Set before the label's texts.
void SetLabelPartner(QLabel& label, QWidget& partner);

// Shows `text` on the label with its access-key marks. A label that must show "&" as it stands
// takes its text with QLabel::setText instead.
void SetLabelText(QLabel& label, const QString& text);

}  // namespace widgets
