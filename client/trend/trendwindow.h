#pragma once

#include <QWidget>

class QAction;
class QSpinBox;
class trendModel;
class trendPlot;

// The trend window: the plot of the marked rows under a tool bar with Pause,
// Autoscale and how many minutes of values are kept.
class trendWindow : public QWidget
{
    Q_OBJECT

public:
    explicit trendWindow(trendModel *model, QWidget *parent = nullptr);

    trendPlot *plot() const { return plotWidget; }
    QAction *pauseAction() const { return pause; }
    QAction *autoscaleAction() const { return fit; }

    // The minutes kept, as shown in the window and set on the model.
    int keptMinutes() const;
    void setKeptMinutes(int minutes);

    static constexpr int MaxKeptMinutes = 24 * 60;

signals:
    // The user chose another number of minutes to keep.
    void keptMinutesChanged(int minutes);

private:
    trendModel *model;
    trendPlot *plotWidget;
    QAction *pause;
    QAction *fit;
    QSpinBox *minutes;
};
