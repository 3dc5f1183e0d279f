#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace normativ {

namespace {

/// Before a window was first mapped its frame is unknown: a usual title bar and border.
constexpr QSize kAssumedFrame{16, 40};

/// Watches one window: fits it to its screen each time it is shown.
class ScreenFitter : public QObject {
  public:
    explicit ScreenFitter(QWidget* window) : QObject(window), window_(window) {
        window->setProperty(kProperty, QVariant::fromValue(static_cast<QObject*>(this)));
        window->installEventFilter(this);
    }

    static ScreenFitter* of(QWidget* window) {
        return static_cast<ScreenFitter*>(window->property(kProperty).value<QObject*>());
    }

    // Fitting waits for the window to be shown, when all its controls exist.
    void setDesigned(QSize size) {
        designed_ = size;
        if (page_) page_->setFixedSize(size);
        if (window_->isVisible()) {
            fit();
        } else if (!page_) {
            window_->setFixedSize(size);
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) fit();
        return false;
    }

  private:
    static constexpr const char* kProperty = "normativScreenFitter";

    void fit() {
        const QScreen* screen = window_->screen();
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (!screen) {
            window_->setFixedSize(designed_);
            return;
        }
        const QRect available = screen->availableGeometry();
        const QSize room = available.size() - frameAllowance(window_);
        if (designed_.width() <= room.width() && designed_.height() <= room.height()) {
            if (page_) {
                // The screen has room again: no scroll bars.
                window_->setMinimumSize(0, 0);
                window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            }
            window_->setFixedSize(designed_);
        } else {
            makePage();
            window_->setMinimumSize(std::min(designed_.width(), 200),
                                    std::min(designed_.height(), 150));
            window_->setMaximumSize(designed_);
            window_->resize(designed_.boundedTo(room));
        }
        keepFrameOn(available);
    }

    // The window's controls move onto a page inside a scroll area, as they are.
    void makePage() {
        if (page_) return;
        auto* page = new QWidget;
        const QList<QWidget*> children =
            window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (child->isWindow()) continue;
            const bool hidden = child->isHidden();
            child->setParent(page);
            child->setVisible(!hidden);
        }
        page->setFixedSize(designed_);
        auto* scroll = new QScrollArea(window_);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
        // Made while the window is being shown, after its children were.
        page->show();
        scroll->show();
        page_ = page;
    }

    // The whole frame within the available area: moved in where it would stick out.
    void keepFrameOn(const QRect& available) {
        const QSize frame = frameAllowance(window_);
        const QSize outer = window_->size() + frame;
        QPoint at = window_->pos();
        at.setX(std::clamp(at.x(), available.left(),
                           std::max(available.left(), available.right() + 1 - outer.width())));
        at.setY(std::clamp(at.y(), available.top(),
                           std::max(available.top(), available.bottom() + 1 - outer.height())));
        if (at != window_->pos()) window_->move(at);
    }

    QWidget* window_;
    QSize designed_;
    QPointer<QWidget> page_;
};

}  // namespace

QSize frameAllowance(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle(); handle && handle->isVisible()) {
        const QMargins m = handle->frameMargins();
        return {m.left() + m.right(), m.top() + m.bottom()};
    }
    return kAssumedFrame;
}

void setDesignedSize(QWidget* window, QSize size) {
    ScreenFitter* fitter = ScreenFitter::of(window);
    if (!fitter) fitter = new ScreenFitter(window);
    fitter->setDesigned(size);
}

}  // namespace normativ
