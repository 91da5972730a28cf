#pragma once

#include "shell/program.h"

#include <QObject>
#include <QPointer>

class AstrologyMain;
class ProgramHost;

// Ruzazeder Uvuvevizoz as a whole: its one window.  Owned by the main window.
class AstrologyProgram : public QObject, public Program
{
    Q_OBJECT
public:
    explicit AstrologyProgram(ProgramHost &host, QObject *parent = nullptr);

    ProgramHost &host() const { return m_host; }

    kestrava::ProgramId id() const override { return kestrava::ProgramId::Astrology; }
    void launch() override;
    void closeAll() override;
    void readFor(const kestrava::Person &person, qint64 clientId) override;

    AstrologyMain *window() const;

private:
    ProgramHost &m_host;
    QPointer<AstrologyMain> m_window;
};
