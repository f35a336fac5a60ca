#include "common/SvgIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <memory>

namespace torrenta::gui {

namespace {

// Draws the picture only when a toolbar or title bar asks for a size, as Qt's
// own SVG icon engine does. The picture is read once: an X11 title bar asks
// for four sizes of the window icon at start.
class SvgIconEngine : public QIconEngine {
  public:
    explicit SvgIconEngine(const QString& resource) : resource_(resource) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QString key = QStringLiteral("torrenta-icon:%1:%2x%3:%4")
                                .arg(resource_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(static_cast<int>(mode));
        QPixmap picture;
        if (QPixmapCache::find(key, &picture)) {
            return picture;
        }
        picture = QPixmap(size);
        picture.fill(Qt::transparent);
        if (renderer_ == nullptr) {
            renderer_ = std::make_shared<QSvgRenderer>(resource_);
        }
        QPainter painter(&picture);
        renderer_->render(&painter);
        painter.end();
        if (mode == QIcon::Disabled) {
            // Disabled entries read as faded, as with Qt's own icons.
            QPixmap faded(size);
            faded.fill(Qt::transparent);
            QPainter fade(&faded);
            fade.setOpacity(0.35);
            fade.drawPixmap(0, 0, picture);
            fade.end();
            picture = faded;
        }
        QPixmapCache::insert(key, picture);
        return picture;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

  private:
    QString resource_;
    std::shared_ptr<QSvgRenderer> renderer_;  // read when first drawn, shared by copies
};

}  // namespace

QIcon SvgIcon(const QString& resource) {
    return QIcon(new SvgIconEngine(resource));
}

}  // namespace torrenta::gui
