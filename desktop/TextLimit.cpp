#include "desktop/TextLimit.h"

#include "base/cp932.h"

#include <algorithm>

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

namespace velmo {

namespace {

class FieldBytesValidator final : public QValidator {
public:
    FieldBytesValidator(size_t bytes, QLineEdit *edit) : QValidator(edit), bytes_(bytes), shown_(edit->text().toStdString())
    {
        // The text before each change, whoever made it.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &t) { shown_ = t.toStdString(); });
    }

    State validate(QString &input, int &pos) const override
    {
        const std::string text = input.toStdString();
        const std::string kept = cp932::fitEdit(shown_, text, bytes_);
        if (kept != text) {
            const int back = static_cast<int>(input.size()) - pos; // the caret stays before the same text
            input = QString::fromStdString(kept);
            pos = std::clamp(static_cast<int>(input.size()) - back, 0, static_cast<int>(input.size()));
            QApplication::beep();
        }
        return Acceptable;
    }

private:
    size_t bytes_;
    std::string shown_;
};

} // namespace

void limitToFieldBytes(QLineEdit *edit, size_t bytes)
{
    edit->setValidator(bytes > 0 ? new FieldBytesValidator(bytes, edit) : nullptr);
}

} // namespace velmo
