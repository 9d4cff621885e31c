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
// answers on a local socket named after its program file, application window
// class and title, which is how a later copy of the same program finds it and
// asks it to come forward. Both live in the user's runtime folder and go when
// the copy ends.
class QtInstances final : public QObject, public platform::Instances {
    Q_OBJECT
public:
    QtInstances(const QString& programPath, const QString& windowClass, const QString& title);
    ~QtInstances() override;

    bool anotherInstanceRunning() override;
    void setApplicationTitle(const std::string& title) override;
    std::optional<platform::WindowId> findWindow(const std::string& windowClass, const std::string& title) override;
    void bringForward(platform::WindowId window) override;

    // The program is ending: a copy started now must find no one to answer,
    // and may take the lock at once.
    void programEnded();

    // Runs when a later copy asks this one to come forward.
    std::function<void()> onBringForward;

private:
    QString socketName(const QString& windowClass, const QString& title) const;
    void listen();
    void answer();

    QString folder_;
    QString programTag_;
    QString windowClass_;
    QString title_;
    QLockFile lock_;
    bool first_ = false;
    QLocalServer server_;
    std::unique_ptr<QLocalSocket> found_;
};

} // namespace twk::qt
