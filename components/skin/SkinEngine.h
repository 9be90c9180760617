#pragma once
// Draws a window from a skin: applies the skin's style sheet to the window and hands the
// caption settings to its caption bar. Starts with the built-in default skin.
#include "components/skin/SkinFile.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class TSkinEngine : public QObject {
    Q_OBJECT
public:
    explicit TSkinEngine(QObject* parent = nullptr);

    // The skin built into the program ("Option.skn").
    static TSkin BuiltInSkin();

    // The window whose look the engine sets (style sheet of the window and its children).
    void SetForm(QWidget* form);
    // Loads and applies a skin file. A missing, unreadable or empty file leaves the current
    // skin in place and returns false.
    bool LoadFromFile(const QString& path);
    void Apply(const TSkin& skin);
    const TSkin& Current() const { return current; }

signals:
    void SkinChanged();

private:
    TSkin current;
    QPointer<QWidget> form;
};
