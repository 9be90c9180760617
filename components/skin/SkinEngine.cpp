#include "components/skin/SkinEngine.h"

#include <QFile>

TSkinEngine::TSkinEngine(QObject* parent) : QObject(parent), current(BuiltInSkin()) {}

TSkin TSkinEngine::BuiltInSkin() {
    QFile file(QStringLiteral(":/skins/Option.skn"));
    if (file.open(QIODevice::ReadOnly))
        if (auto skin = TSkin::Parse(file.readAll()))
            return *skin;
    return {};
}

void TSkinEngine::SetForm(QWidget* window) {
    form = window;
    Apply(current);
}

bool TSkinEngine::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const auto skin = TSkin::Parse(file.readAll());
    if (!skin)
        return false;
    Apply(*skin);
    return true;
}

void TSkinEngine::Apply(const TSkin& skin) {
    current = skin;
    if (form)
        form->setStyleSheet(current.StyleSheet);
    emit SkinChanged();
}
