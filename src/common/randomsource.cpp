#include "common/randomsource.h"

#include <QRandomGenerator>

namespace kestrava {

double SystemRandom::uniform()
{
    return QRandomGenerator::global()->generateDouble();
}

} // namespace kestrava
