#include "canvas/IconItem.h"

#include <QBrush>
#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QSvgRenderer>
#include <array>

namespace torrenta::gui {

namespace {

// One renderer per picture for the whole canvas: sixty icons share four.
QSvgRenderer* Picture(IconKind kind) {
    static std::array<QSvgRenderer*, 4> pictures = {
        new QSvgRenderer(QStringLiteral(":/images/basin.svg")),
        new QSvgRenderer(QStringLiteral(":/images/surface.svg")),
        new QSvgRenderer(QStringLiteral(":/images/channel.svg")),
        new QSvgRenderer(QStringLiteral(":/images/node.svg")),
    };
    return pictures[static_cast<int>(kind)];
}

}  // namespace

IconItem::IconItem(IconKind kind, int index, IconEvents* events)
    : kind_(kind),
      index_(index),
      size_(IconSize(kind)),
      events_(events),
      picture_(Picture(kind)),
      captionBack_(new QGraphicsRectItem(this)),
      caption_(new QGraphicsSimpleTextItem(captionBack_)) {
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
    setZValue(1);
    // The scene is measured in twips: 150 twips is about a 7.5-point font.
    QFont font = caption_->font();
    font.setPixelSize(150);
    caption_->setFont(font);
    // The caption only tells whose icon it is: a click on it presses nothing,
    // and the icon's own area for pressing and dragging stays as it was.
    captionBack_->setAcceptedMouseButtons(Qt::NoButton);
    caption_->setAcceptedMouseButtons(Qt::NoButton);
    captionBack_->setPen(Qt::NoPen);
    captionBack_->setBrush(QColor(255, 255, 255, 220));
}

QSizeF IconItem::IconSize(IconKind kind) {
    switch (kind) {
        case IconKind::Overland:
            return {690, 420};
        case IconKind::Shallow:
            return {690, 405};
        case IconKind::Channel:
            return {690, 300};
        case IconKind::Node:
            break;
    }
    return {855, 555};
}

void IconItem::SetMarked(bool marked) {
    if (marked_ != marked) {
        marked_ = marked;
        update();
    }
}

void IconItem::SetCaption(const QString& caption, const QString& toolTip) {
    caption_->setText(caption);
    constexpr double kMargin = 20;
    const QRectF text = caption_->boundingRect();
    captionBack_->setRect(0, 0, text.width() + 2 * kMargin, text.height());
    captionBack_->setPos((size_.width() - text.width()) / 2 - kMargin, size_.height() + 20);
    caption_->setPos(kMargin, 0);
    setToolTip(toolTip);
    captionBack_->setToolTip(toolTip);
}

QString IconItem::Caption() const {
    return caption_->text();
}

void IconItem::SetCaptionShown(bool shown) {
    captionBack_->setVisible(shown);
}

bool IconItem::CaptionShown() const {
    return captionBack_->isVisible();
}

QRectF IconItem::boundingRect() const {
    return {QPointF(0, 0), size_};
}

void IconItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    picture_->render(painter, boundingRect());
    if (marked_) {
        QPen border(Qt::black);
        border.setCosmetic(true);
        painter->setPen(border);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(boundingRect());
    }
}

void IconItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    event->accept();
    events_->Img_MouseDown(*this, event->button(), event->scenePos() - pos(), event->screenPos());
}

void IconItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
    // Measured from where the icon stands now: the scene's own item position
    // can lag behind a move made during the same drag.
    events_->Img_MouseMove(*this, event->buttons(), event->scenePos() - pos());
}

void IconItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
    event->accept();
    events_->Img_MouseUp(*this, event->button(), event->screenPos());
}

void IconItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) {
    event->accept();
    // The second press still selects and starts a drag as any press does.
    events_->Img_MouseDown(*this, event->button(), event->scenePos() - pos(), event->screenPos());
    if (event->button() == Qt::LeftButton) {
        events_->Img_DblClick(*this);
    }
}

}  // namespace torrenta::gui
