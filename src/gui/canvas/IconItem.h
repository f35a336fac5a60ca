#pragma once

#include <QGraphicsItem>
#include <QString>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QSvgRenderer;

namespace torrenta::gui {

// The icons: one per element kind, named as the kinds are, and the outlet node.
enum class IconKind { Overland, Shallow, Channel, Node };

class IconItem;

// Who handles the pointer on icons: the canvas. Positions are twips relative
// to the icon's top-left corner.
class IconEvents {
  public:
    virtual ~IconEvents() = default;
    virtual void Img_MouseDown(IconItem& icon, Qt::MouseButton button, QPointF position,
                               QPoint screenPosition) = 0;
    virtual void Img_MouseMove(IconItem& icon, Qt::MouseButtons buttons, QPointF position) = 0;
    virtual void Img_MouseUp(IconItem& icon, Qt::MouseButton button, QPoint screenPosition) = 0;
    virtual void Img_DblClick(IconItem& /*icon*/) {}
};

// One icon of the canvas: a view of one row (or of the node), known by its
// kind, its index in the kind's array and its tag. Its position is the icon's
// top-left corner in twips. It never touches the project file.
class IconItem : public QGraphicsItem {
  public:
    IconItem(IconKind kind, int index, IconEvents* events);

    IconKind Kind() const { return kind_; }
    int Index() const { return index_; }
    const QString& Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }

    double Left() const { return pos().x(); }
    double Top() const { return pos().y(); }
    double Width() const { return size_.width(); }
    double Height() const { return size_.height(); }
    QPointF Centre() const { return pos() + QPointF(size_.width() / 2, size_.height() / 2); }

    void SetMarked(bool marked);
    bool Marked() const { return marked_; }

    // The text under the icon (the element's name, cut short) and the
    // tool tip that tells the whole of it.
    void SetCaption(const QString& caption, const QString& toolTip);
    QString Caption() const;
    void SetCaptionShown(bool shown);
    bool CaptionShown() const;

    // Size of every icon of a kind, in twips.
    static QSizeF IconSize(IconKind kind);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

  private:
    IconKind kind_;
    int index_;
    QString tag_;
    QSizeF size_;
    bool marked_ = false;
    IconEvents* events_;
    QSvgRenderer* picture_;
    QGraphicsRectItem* captionBack_;  // keeps the lines from crossing the text
    QGraphicsSimpleTextItem* caption_;
};

}  // namespace torrenta::gui
