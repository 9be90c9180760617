#include "platform/ErrorReport.h"

#include "platform/Errors.h"

#include <QMessageBox>
#include <exception>

namespace {
TApplication::Reporter reporter;
bool reporting = false;
} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TApplication::SetReporter(Reporter r) { reporter = std::move(r); }

void TApplication::Report(const QString& message) {
    if (reporter) {
        reporter(message);
        return;
    }
    if (reporting) // a failure while the box is up is not stacked on top of it
        return;
    reporting = true;
    QMessageBox::critical(activeWindow(), applicationName(), message);
    reporting = false;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception& e) {
        Report(e.Message);
    } catch (const std::exception& e) {
        Report(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Report(QStringLiteral("Unknown error."));
    }
    return false;
}
