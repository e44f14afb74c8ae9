#include "controls/ui/TextLimit.h"

#include "controls/core/cp932.h"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>

namespace velmo {

namespace {

class FieldBytesValidator final : public QValidator {
public:
    FieldBytesValidator(size_t bytes, QObject *parent) : QValidator(parent), bytes_(bytes) {}

    State validate(QString &input, int &pos) const override
    {
        const std::string text = input.toStdString();
        const std::string kept = cp932::fit(text, bytes_);
        if (kept != text) {
            input = QString::fromStdString(kept);
            pos = std::min(pos, static_cast<int>(input.size()));
            QApplication::beep();
        }
        return Acceptable;
    }

private:
    size_t bytes_;
};

} // namespace

void limitToFieldBytes(QLineEdit *edit, size_t bytes)
{
    edit->setValidator(bytes > 0 ? new FieldBytesValidator(bytes, edit) : nullptr);
}

} // namespace velmo
