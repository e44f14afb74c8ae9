#include "desktop/WindowFit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolTip>

namespace velmo {

namespace {

const char *ScrollAreaName = "velmo_fit_scroll";

// Before the first show the frame is unknown; this allows for borders and a title bar.
constexpr Size FrameBeforeShow{8, 38};

QScrollArea *newScrollArea(QWidget *parent)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setObjectName(ScrollAreaName);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

void scrollCentralWidget(QMainWindow *window)
{
    QWidget *central = window->takeCentralWidget();
    if (!central)
        return;
    QScrollArea *scroll = newScrollArea(window);
    scroll->setWidget(central);
    window->setCentralWidget(scroll);
}

void scrollLayoutItems(QWidget *window, int keptBelow)
{
    auto *outer = qobject_cast<QBoxLayout *>(window->layout());
    if (!outer || outer->count() <= keptBelow)
        return;
    QScrollArea *scroll = newScrollArea(window);
    auto *content = new QWidget;
    auto *inner = new QBoxLayout(outer->direction(), content);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setSpacing(outer->spacing());
    const int moved = outer->count() - keptBelow;
    for (int i = 0; i < moved; ++i) {
        const int stretch = outer->stretch(0);
        QLayoutItem *item = outer->takeAt(0);
        if (QWidget *w = item->widget()) {
            inner->addWidget(w, stretch, item->alignment());
            delete item;
        } else if (QLayout *l = item->layout()) {
            l->setParent(nullptr);
            inner->addLayout(l, stretch); // reparents the layout's widgets to the content
        } else {
            inner->addItem(item);
        }
    }
    scroll->setWidget(content);
    outer->insertWidget(0, scroll, 1);
}

// Without a layout that can shrink, a window keeps a minimum larger than the work area.
void releaseMinimum(QWidget *window)
{
    window->setMinimumSize(0, 0);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (QLayout *l = window->layout())
        l->setSizeConstraint(QLayout::SetDefaultConstraint);
}

} // namespace

Rect logicalWorkArea(const QWidget *widget)
{
    const QScreen *s = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const QRect a = s ? s->availableGeometry() : QRect(0, 0, 1024, 600);
    return Rect{a.left(), a.top(), a.width(), a.height()};
}

Size frameAllowance(const QWidget *window)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    if (!window->testAttribute(Qt::WA_WState_Created))
        return FrameBeforeShow;
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {frame.width() - client.width(), frame.height() - client.height()};
}

WindowFit fitToScreen(QWidget *window, QSize wanted, std::optional<QPoint> position, int keptBelow)
{
    if (QLayout *l = window->layout())
        l->activate();
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    if (!wanted.isValid() || wanted.isEmpty())
        wanted = window->sizeHint();
    wanted = wanted.expandedTo(least);
    const Rect area = logicalWorkArea(window);
    const std::optional<Rect> at = position ? std::optional<Rect>(Rect{position->x(), position->y(), 0, 0}) : std::nullopt;
    const WindowFit fit = fitWindow({wanted.width(), wanted.height()}, area, frameAllowance(window), at);
    // A window whose layout shrinks to the cut size keeps its own scrolling; only content that
    // cannot shrink so far goes into a scroll area.
    const bool cutBelowLeast = fit.client.width < least.width() || fit.client.height < least.height();
    if (fit.scroll && cutBelowLeast && !fitScrollArea(window)) {
        releaseMinimum(window);
        if (auto *main = qobject_cast<QMainWindow *>(window))
            scrollCentralWidget(main);
        else
            scrollLayoutItems(window, keptBelow);
    }
    Rect client = fit.client;
    if (fitScrollArea(window) && client.height < least.height() && client.width >= least.width()) {
        // Only the height is cut: widen by the vertical scroll bar where there is room, so that
        // no horizontal one appears.
        const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        client = clampIntoWorkArea({client.left - bar / 2, client.top, client.width + bar, client.height}, area,
                                   frameAllowance(window));
    }
    window->resize(client.width, client.height);
    window->move(client.left, client.top);
    return WindowFit{client, fit.scroll};
}

QScrollArea *fitScrollArea(const QWidget *window)
{
    return window->findChild<QScrollArea *>(ScrollAreaName);
}

void keepInsideWorkArea(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const Size margins{frame.width() - client.width(), frame.height() - client.height()};
    const Rect area = logicalWorkArea(window);
    const Rect r = clampIntoWorkArea({frame.left(), frame.top(), client.width(), client.height()}, area, margins);
    if (r.width != client.width() || r.height != client.height()) {
        window->setMinimumSize(std::min(window->minimumWidth(), r.width), std::min(window->minimumHeight(), r.height));
        window->resize(r.width, r.height);
    }
    if (r.left != frame.left() || r.top != frame.top())
        window->move(r.left, r.top);
}

// ---------------------------------------------------------------- ElidedLabel

ElidedLabel::ElidedLabel(QWidget *parent) : QLabel(parent) {}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width() - 2 * margin());
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QSize hint = QLabel::minimumSizeHint();
    return {std::min(hint.width(), fontMetrics().horizontalAdvance(QStringLiteral("…")) + frameWidth() * 2 + 2 * margin()),
            hint.height()};
}

void ElidedLabel::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    QPainter p(this);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, r, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                          shownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent *e)
{
    // The tool tip shows the whole text only when the label cuts it.
    if (e->type() == QEvent::ToolTip && shownText() == text() && toolTip() == text())
        return true;
    return QLabel::event(e);
}

} // namespace velmo
