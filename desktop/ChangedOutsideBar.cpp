#include "desktop/ChangedOutsideBar.h"
#include "desktop/VelmoApplication.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace velmo {

namespace {
QString q(const std::string &s) { return QString::fromStdString(s); }
} // namespace

ChangedOutsideBar::ChangedOutsideBar(QWidget *parent) : QFrame(parent)
{
    setObjectName("changedOutsideBar");
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet("#changedOutsideBar { background: #fff4c2; border: 1px solid #d9b84a; }");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->setSpacing(6);
    label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    // A long path never widens the window: the text wraps onto a second line instead.
    label->setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    label->setSizePolicy(policy);
    reloadButton = new QPushButton(q(sharedtext::ReloadButton), this);
    closeButton = new QPushButton(q(sharedtext::CloseBarButton), this);
    layout->addWidget(label, 1);
    layout->addWidget(reloadButton);
    layout->addWidget(closeButton);
    hide();
}

void ChangedOutsideBar::showState(const OutsideChange &change)
{
    label->setText(q(change.barText()));
    label->setToolTip(label->text()); // the whole path when the bar is too narrow for it
    setVisible(change.barShown());
}

void showReloadStatus(QStatusBar *bar, const OutsideChange &change, int &shownRevision)
{
    if (change.statusRevision() == shownRevision)
        return;
    shownRevision = change.statusRevision();
    // A panel of its own at the right end: the program's panels stay in view beside it (a
    // status bar message would cover them), and the line stays until the next reload says more.
    auto *panel = bar->findChild<QLabel *>("reloadStatus");
    if (!panel) {
        panel = new QLabel(bar);
        panel->setObjectName("reloadStatus");
        panel->setTextFormat(Qt::PlainText);
        bar->addPermanentWidget(panel);
    }
    panel->setText(q(change.statusText()));
    panel->setToolTip(panel->text());
}

void whenActivated(QWidget *window, QEvent *e, std::function<bool()> ask, std::function<void()> show)
{
    if (e->type() != QEvent::ActivationChange || !window->isActiveWindow())
        return;
    QTimer::singleShot(0, window, [window, ask = std::move(ask), show = std::move(show)] {
        if (!window->isActiveWindow() || QApplication::activeModalWidget() || QApplication::activePopupWidget())
            return;
        bool changed = false;
        runCommand([&] { changed = ask(); });
        if (changed)
            runCommand(show);
    });
}

} // namespace velmo
