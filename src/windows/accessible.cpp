#include "windows/accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "windows/window_common.h"

namespace zb {

namespace {

constexpr char kValue[] = "zbSpokenValue";

// Qt's own interface of a label has no value; this one reads it from the
// widget, so it always says what the last SetSpoken set.
class SpokenWidget : public QAccessibleWidget {
  public:
    using QAccessibleWidget::QAccessibleWidget;
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return widget()->property(kValue).toString();
#ifndef Q_OS_WIN
        // Linux readers speak a value only when it is a number, so there
        // the figure is also the description.
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return widget()->property(kValue).toString();
#endif
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (const auto* l = qobject_cast<const QLabel*>(widget())) return l->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* SpokenFactory(const QString&, QObject* o) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || !w->property(kValue).isValid()) return nullptr;
    // The one figure that is not a label is the drawn chart.
    return new SpokenWidget(
        w, qobject_cast<QLabel*>(w) ? QAccessible::StaticText : QAccessible::Chart);
}

}  // namespace

void SetSpoken(QWidget* w, const Spoken& s) {
    static const bool installed = (QAccessible::installFactory(SpokenFactory), true);
    (void)installed;
    const QVariant before = w->property(kValue);
    const QString value = Q(s.value);
    w->setProperty(kValue, value);
    w->setAccessibleName(Q(s.name));
    if (!before.isValid()) {
        // A label makes its interface with its first text: made before the
        // value was known, it is dropped, and the next query makes ours.
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        if (i && !dynamic_cast<SpokenWidget*>(i))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(i));
    }
    if (before.toString() != value) {
        QAccessibleValueChangeEvent e(w, value);
        QAccessible::updateAccessibility(&e);
    }
}

}  // namespace zb
