#include "registration/ui/RegistrationWindow.h"

#include "desktop/ChangedOutsideBar.h"
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

void RegistrationWindow::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (started_)
        whenActivated(this, e, [this] { return activatedAgain(); }, [this] { showState(); });
}

} // namespace velmo
