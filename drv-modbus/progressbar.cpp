#include "progressbar.h"

namespace ProgressBar {

QString markup(int done, int total)
{
    const int percent = total > 0 ? int(qint64(done) * 100 / total) : 0;
    const int half = percent / 2;
    QString bar = QStringLiteral("[");
    for (int k = 1; k <= 50; ++k) {
        if (k < half)
            bar += QLatin1Char('=');
        else if (k == half)
            bar += QLatin1Char('>');
        else
            bar += QLatin1String("&nbsp;");
    }
    return bar + "]&nbsp;" + QString::number(percent) + "&nbsp;%";
}

} // namespace ProgressBar
