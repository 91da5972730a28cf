#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

namespace numpro {

// What the result navigator holds while it is open: the numbers the readings
// leave for each other and the captions of its hidden labels.  The navigator
// starts every opening with a fresh value.
struct ResultState
{
    qint16 lifePathNumber = 0;
    qint16 dayDigitSum = 0;
    qint16 destinyNumber = 0;
    qint16 destinyTotal = 0;
    qint16 soulUrgeNumber = 0;
    qint16 soulUrgeTotal = 0;
    qint16 innerDreamsNumber = 0;
    qint16 innerDreamsTotal = 0;
    qint16 birthDayNumber = 0;
    qint16 birthDayValue = 0;
    qint16 maturityNumber = 0;

    // Captions of the hidden labels by object name ("lblLifePath", ...); a
    // label that no reading has set yet has no entry.
    QHash<QString, QString> labels;

    // Set while the comprehensive reading fills the document.
    bool writingToDocument = false;
    // Set while a reading runs others only for their numbers; those compute
    // and store but compose nothing.
    bool quietReading = false;
};

} // namespace numpro
