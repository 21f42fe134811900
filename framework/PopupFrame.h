// The frame of a popup window: border, caption with title and close box, and a sunken client
// edge around the client widget. Drawn by us so that the window rectangle, caption and
// border included, has the same size on every desktop and headless.
#pragma once

#include <QWidget>

class CWnd;

class PopupFrame : public QWidget {
public:
    static constexpr int kBorder = 3;     // fixed frame on every side
    static constexpr int kClientEdge = 2; // sunken edge around the client area
    static constexpr int kCaption = 18;   // caption bar height
    static constexpr int kClientLeft = kBorder + kClientEdge;
    static constexpr int kClientTop = kBorder + kCaption + kClientEdge;
    static constexpr int kExtraWidth = 2 * (kBorder + kClientEdge);
    static constexpr int kExtraHeight = kClientTop + kBorder + kClientEdge;

    PopupFrame(CWnd& owner, QWidget* ownerWidget);
    void SetClient(QWidget* client) { client_ = client; }
    // The close box in frame coordinates.
    QRect CloseBox() const;
    void Orphan() { owner_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CWnd* owner_;
    QWidget* client_ = nullptr;
    bool movingByCaption_ = false;
    QPoint grabOffset_;
};
