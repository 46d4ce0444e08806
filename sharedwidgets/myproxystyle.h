#pragma once

#include <QProxyStyle>

// The application style of the desktop programs: the default style with small
// icons (menus, item views, line-edit actions) at 24 pixels.
class MyProxyStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;
};
