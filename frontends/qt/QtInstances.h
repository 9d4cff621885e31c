#pragma once

#include "platform/Instances.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalSocket;

namespace twk::qt {

// One copy of the program per program file: the first holds a lock file and
// answers on a local socket named after its application window's class and
// title, which is how a later copy finds it and asks it to come forward.
class QtInstances final : public QObject, public platform::Instances {
    Q_OBJECT
public:
    QtInstances(const QString& programPath, const QString& windowClass, const QString& title);
    ~QtInstances() override;

    bool anotherInstanceRunning() override;
    void setApplicationTitle(const std::string& title) override;
    std::optional<platform::WindowId> findWindow(const std::string& windowClass, const std::string& title) override;
    void bringForward(platform::WindowId window) override;

    // Runs when a later copy asks this one to come forward.
    std::function<void()> onBringForward;

    static QString socketName(const QString& windowClass, const QString& title);

private:
    void listen();
    void answer();

    QString windowClass_;
    QString title_;
    QLockFile lock_;
    bool first_ = false;
    QLocalServer server_;
    std::unique_ptr<QLocalSocket> found_;
};

} // namespace twk::qt
