#include "PanelClick.h"

#include <QLoggingCategory>
#include <QStringList>

#include <cstring>
#include <mutex>
#include <utility>

namespace twk::qt {
namespace {

constexpr char kTrayCategory[] = "qt.qpa.tray";

std::mutex guard;
std::optional<QPoint> clicked;
std::once_flag followed;
QtMessageHandler earlier = nullptr;

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg || !context.category || std::strcmp(context.category, kTrayCategory) != 0) {
        if (earlier)
            earlier(type, context, message);
        return;
    }
    // A click is logged as its two coordinates alone: "x y".
    const QStringList words = message.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool isX = false;
    bool isY = false;
    const int x = words.size() == 2 ? words[0].toInt(&isX) : 0;
    const int y = words.size() == 2 ? words[1].toInt(&isY) : 0;
    if (isX && isY) {
        const std::lock_guard lock(guard);
        clicked = QPoint(x, y);
    }
}

} // namespace

void PanelClick::follow()
{
    std::call_once(followed, [] {
        earlier = qInstallMessageHandler(handle);
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.tray.debug=true"));
    });
}

std::optional<QPoint> PanelClick::take()
{
    const std::lock_guard lock(guard);
    return std::exchange(clicked, std::nullopt);
}

} // namespace twk::qt
