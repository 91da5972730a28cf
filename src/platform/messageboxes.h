#pragma once

#include "common/brand.h"

#include <QString>

class QWidget;

namespace platform {

enum class Icon { Information, Error, Question, Warning };

// Message boxes of the suite.  Every box carries the title "Kestrava".
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // A message with an OK button.
    virtual void inform(QWidget *parent, Icon icon, const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, Icon icon, const QString &text) = 0;
};

class QtMessageBoxes final : public MessageBoxes
{
public:
    void inform(QWidget *parent, Icon icon, const QString &text) override;
    bool ask(QWidget *parent, Icon icon, const QString &text) override;
};

inline const QString kAppTitle = kestrava::productName();

} // namespace platform
