#include "registration/ui/RegistrationWindow.h"

#include "desktop/ChangedOutsideBar.h"
#include "desktop/VelmoApplication.h"
#include "grid/ui/QtKeys.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"

namespace velmo {

RegistrationWindow::RegistrationWindow(QWidget *parent) : QMainWindow(parent), dialogs_(this) {}

void RegistrationWindow::disconnectFields()
{
    for (TNValEdit *e : NValEdit)
        if (e)
            e->disconnect(this);
    if (StrColGrid1)
        StrColGrid1->disconnect(this);
}

void RegistrationWindow::applyTypedRate()
{
    for (int i = 0; i < RegistrationRateFields; ++i)
        if (NValEdit[i] && NValEdit[i]->hasFocus() && NValEdit[i]->typedSinceFocus())
            rateFieldLeft(i + 1, NValEdit[i]->value());
}

void RegistrationWindow::StrColGrid1KeyDown(int &vk, Qt::KeyboardModifiers mods, bool &consumed)
{
    try {
        applyTypedRate();
        consumed = gridKeyDown(vk, shiftStateFromQt(mods));
    } catch (...) {
        consumed = true;
        reportCurrentException();
    }
    runCommand([this] { showState(); });
}

void RegistrationWindow::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (started_)
        whenActivated(this, e, [this] { return activatedAgain(); }, [this] { showState(); });
}

} // namespace velmo
