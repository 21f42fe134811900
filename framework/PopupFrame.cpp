#include "framework/PopupFrame.h"

#include "framework/Wnd.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kFace(192, 192, 192);
const QColor kLight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kDark(0, 0, 0);
const QColor kCaptionBack(0, 0, 128);
const QColor kCaptionText(255, 255, 255);
constexpr int kCloseBoxWidth = 16;
constexpr int kCloseBoxHeight = 14;
constexpr int kCaptionFontPixels = 11;

// Two-colour frame one pixel wide along the inside of `r`.
void Frame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    p.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    p.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
}

} // namespace

PopupFrame::PopupFrame(CWnd& owner, QWidget* ownerWidget)
    : QWidget(ownerWidget, Qt::Tool | Qt::FramelessWindowHint), owner_(&owner) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

QRect PopupFrame::CloseBox() const {
    return {width() - kBorder - 2 - kCloseBoxWidth, kBorder + (kCaption - kCloseBoxHeight) / 2,
            kCloseBoxWidth, kCloseBoxHeight};
}

void PopupFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, kFace);
    Frame(p, all, kLight, kDark);
    Frame(p, all.adjusted(1, 1, -1, -1), kFace, kShadow);

    const QRect caption(kBorder, kBorder, width() - 2 * kBorder, kCaption);
    p.fillRect(caption, kCaptionBack);
    QFont font("MS Sans Serif");
    font.setPixelSize(kCaptionFontPixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kCaptionText);
    p.drawText(caption.adjusted(3, 0, -kCloseBoxWidth - 4, 0), Qt::AlignLeft | Qt::AlignVCenter,
               windowTitle());

    const QRect box = CloseBox();
    p.fillRect(box, kFace);
    Frame(p, box, kLight, kDark);
    p.setPen(kDark);
    const QRect cross = box.adjusted(4, 3, -5, -4);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.topRight(), cross.bottomLeft());

    const QRect edge(kBorder, kBorder + kCaption, width() - 2 * kBorder, height() - 2 * kBorder - kCaption);
    Frame(p, edge, kShadow, kLight);
    Frame(p, edge.adjusted(1, 1, -1, -1), kDark, kFace);
}

void PopupFrame::resizeEvent(QResizeEvent*) {
    if (client_) {
        client_->setGeometry(kClientLeft, kClientTop, std::max(0, width() - kExtraWidth),
                             std::max(0, height() - kExtraHeight));
    }
}

void PopupFrame::moveEvent(QMoveEvent*) {
    if (owner_) {
        const QPoint topLeft = pos();
        owner_->SendMessage(WM_MOVE, 0, MAKELPARAM(topLeft.x(), topLeft.y()));
    }
}

void PopupFrame::closeEvent(QCloseEvent* event) {
    event->ignore(); // the window's OnClose decides
    if (owner_) {
        owner_->SendMessage(WM_CLOSE);
    }
}

void PopupFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !owner_) {
        return;
    }
    const QPoint at = event->position().toPoint();
    if (CloseBox().contains(at)) {
        owner_->SendMessage(WM_CLOSE);
    } else if (at.y() < kBorder + kCaption) {
        movingByCaption_ = true;
        grabOffset_ = at;
    }
}

void PopupFrame::mouseMoveEvent(QMouseEvent* event) {
    if (movingByCaption_) {
        move(event->globalPosition().toPoint() - grabOffset_);
    }
}

void PopupFrame::mouseReleaseEvent(QMouseEvent*) { movingByCaption_ = false; }
