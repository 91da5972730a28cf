#include "widgets/inputfields.h"

#include "common/person.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <limits>

namespace inputfields {

namespace {

// Turns a typed small letter into its capital in the field it watches
// (a..z, and é into É, which the readings count as E).
class CapitalLetters final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const QString text = key->text();
            if (text.size() == 1 && text.front().isLower()
                && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
                if (auto *field = qobject_cast<QLineEdit *>(watched)) {
                    field->insert(kestrava::capitalLetters(text));
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QLineEdit *makeNameField(const QString &name, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMinimumWidth(220);
    // Names have no length limit (Qt's default would cut them at 32,767).
    field->setMaxLength(std::numeric_limits<int>::max());
    field->installEventFilter(new CapitalLetters(field));
    return field;
}

QComboBox *makePickList(const QString &name, const QStringList &entries, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(entries);
    list->setMaxVisibleItems(16);
    return list;
}

DateLists makeDateLists(QWidget *parent, int firstYear)
{
    DateLists lists;
    lists.month = makePickList(QStringLiteral("cboMonth"), kestrava::monthNames(), parent);
    lists.day = makePickList(QStringLiteral("cboDate"), kestrava::dayTexts(), parent);
    lists.year = makePickList(QStringLiteral("cboYear"), kestrava::yearTexts(firstYear), parent);
    selectIfPresent(lists.month, kestrava::monthNames().at(kestrava::kDefaultMonth - 1));
    selectIfPresent(lists.day, QString::number(kestrava::kDefaultDay));
    selectIfPresent(lists.year, QString::number(kestrava::kDefaultYear));
    return lists;
}

void selectIfPresent(QComboBox *list, const QString &value)
{
    const int index = list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        list->setCurrentIndex(index);
}

bool selectDate(const DateLists &lists, const QDate &date)
{
    if (!date.isValid())
        return false;
    const QString month = kestrava::monthNames().at(date.month() - 1);
    const QString day = QString::number(date.day());
    const QString year = QString::number(date.year());
    const auto listed = [](const QComboBox *list, const QString &text) {
        return !list || list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
    };
    if (!listed(lists.month, month) || !listed(lists.day, day) || !listed(lists.year, year))
        return false;
    if (lists.month)
        selectIfPresent(lists.month, month);
    if (lists.day)
        selectIfPresent(lists.day, day);
    if (lists.year)
        selectIfPresent(lists.year, year);
    return true;
}

} // namespace inputfields
