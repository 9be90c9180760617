#pragma once
// The general error report: the application object catches what an event handler
// throws and shows its message in a message box; the window stays usable.
#include <QApplication>
#include <functional>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // How a caught failure is shown; the default is a critical message box captioned
    // with the application name. Tests replace it to see what was reported.
    using Reporter = std::function<void(const QString& message)>;
    static void SetReporter(Reporter reporter);
    static void Report(const QString& message);
};
