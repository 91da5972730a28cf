#pragma once

#include "shell/program.h"

#include <QObject>
#include <QPointer>

class RunesMain;
class ProgramHost;

// Dudov Aduradudav as a whole: its one window.  Owned by the main window.
class RunesProgram : public QObject, public Program
{
    Q_OBJECT
public:
    explicit RunesProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    kestrava::ProgramId id() const override { return kestrava::ProgramId::Runes; }
    void launch() override;
    void closeAll() override;
    void readFor(const kestrava::Person &person, qint64 clientId) override;

    RunesMain *window() const;

private:
    ProgramHost &m_host;
    QPointer<RunesMain> m_window;
};
