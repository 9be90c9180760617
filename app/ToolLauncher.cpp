#include "app/ToolLauncher.h"

#include "browser/TabSet.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>

TToolLauncher::TToolLauncher(TTabSet& t, QObject* parent) : QObject(parent), tabs(t) {}

void TToolLauncher::Add(const QString& name, const QString& caption, int image, QList<QAction*> launchControls,
                        const QString& switchCaption) {
    Tool tool;
    tool.Name = name;
    tool.Caption = caption;
    tool.Image = image;
    tool.SwitchCaption = switchCaption;
    for (QAction* a : launchControls)
        if (a) {
            tool.LaunchControls << a;
            connect(a, &QAction::triggered, this, [this, name] { Launch(name); });
        }
    tools.insert(name, tool);
    order << name;
    enable(tools[name], false);
}

void TToolLauncher::SetFactory(const QString& name, Factory factory) {
    auto it = tools.find(name);
    if (it == tools.end())
        return;
    it->Create = std::move(factory);
    enable(*it, it->Tab.isNull());
}

void TToolLauncher::enable(Tool& tool, bool on) {
    for (QAction* a : tool.LaunchControls)
        a->setEnabled(on && tool.Create != nullptr);
}

QWidget* TToolLauncher::Launch(const QString& name) {
    auto it = tools.find(name);
    if (it == tools.end() || !it->Create || !it->Tab.isNull())
        return nullptr;
    QWidget* form = it->Create(nullptr);
    if (!form)
        return nullptr;
    it->Forms << form;
    it->Tab = tabs.HostTool(form, it->Caption.isEmpty() ? form->windowTitle() : it->Caption, it->Image,
                            [this, name] {
                                Tool& t = tools[name];
                                t.Tab = nullptr;
                                enable(t, true);
                            },
                            it->SwitchCaption);
    enable(*it, false);
    emit Launched(name, form);
    return form;
}

bool TToolLauncher::IsOpen(const QString& name) const {
    auto it = tools.find(name);
    return it != tools.end() && !it->Tab.isNull();
}

const TToolLauncher::Tool* TToolLauncher::Find(const QString& name) const {
    auto it = tools.find(name);
    return it == tools.end() ? nullptr : &*it;
}

bool TToolLauncher::CanCloseAll() const {
    for (const Tool& t : tools)
        for (const QPointer<QWidget>& form : t.Forms) {
            if (!form)
                continue;
            QCloseEvent event;
            QCoreApplication::sendEvent(form, &event);
            if (!event.isAccepted())
                return false;
        }
    return true;
}
