// The main window's client area: the MDI area of the child windows, with the program's logo
// painted in its centre behind them.
#pragma once

#include <QMdiArea>
#include <QPixmap>

namespace sonarchive::gui {

class LogoArea : public QMdiArea {
    Q_OBJECT
public:
    explicit LogoArea(QWidget* parent = nullptr);

    // Where the logo is painted: centred in the visible area, wherever its size changes to.
    QRect LogoRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap logo_;
};

}  // namespace sonarchive::gui
