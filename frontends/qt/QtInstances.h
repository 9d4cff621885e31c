#pragma once

#include "platform/Instances.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace twk::qt {

struct PrivateFolder;

// One copy of the program per program file: the first holds a lock file and
// answers on a local socket named after its program file, application window
// class and title, which is how a later copy of the same program finds it and
// asks it to come forward. Both live in the user's runtime folder and go when
// the copy ends. Plain sockets: a network library would cost every start more
// than this whole class.
class QtInstances final : public QObject, public platform::Instances {
    Q_OBJECT
public:
    QtInstances(const QString& programPath, const QString& windowClass, const QString& title);
    // In the given folder; one that is not usable leaves this copy unchecked and first.
    QtInstances(const QString& programPath, const QString& windowClass, const QString& title,
                const PrivateFolder& folder);
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
    void watchServer();
    void stopListening();
    void answer();
    void hear(int connection);

    QString folder_;
    QString programTag_;
    QString windowClass_;
    QString title_;
    QLockFile lock_;
    bool first_ = false;
    bool checked_ = true;
    int server_ = -1;
    QString serverPath_;
    std::unique_ptr<QSocketNotifier> serverNotifier_;
    std::map<int, std::unique_ptr<QSocketNotifier>> callers_;
    int found_ = -1;
};

} // namespace twk::qt
