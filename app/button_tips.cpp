#include "app/button_tips.h"

#include <QHelpEvent>
#include <QStringView>
#include <QToolTip>

#include "ui_main_window.h"

namespace tunvell {

namespace {

struct ButtonTip {
    const char16_t* button;  // objectName of the picture button
    const char16_t* text;
};

constexpr ButtonTip BUTTON_TIPS[] = {
    {u"图形按钮关于", u"关于Tunvell v3.6"},
    {u"图形按钮服务设置", u"播放设置"},
    {u"图形按钮添加", u"添加临时歌曲，关闭程序后不保存"},
    {u"图形按钮扫描", u"扫描音乐文件夹"},
    {u"图形按钮刷新", u"刷新播放列表"},
};

// The tip control 气球提示框1: asks SupplyButtonTip whenever the pointer rests
// on a button it serves and shows what it is given.
class ButtonTipControl : public QObject {
    Q_OBJECT
public:
    explicit ButtonTipControl(QObject* parent) : QObject(parent) {
        setObjectName(QStringLiteral("气球提示框1"));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) {
            return QObject::eventFilter(watched, event);
        }
        auto* control = static_cast<QWidget*>(watched);
        QString text;
        SupplyButtonTip(control, text);
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, control);
        }
        return true;
    }
};

}  // namespace

void RegisterButtonTips(Ui::MainWindow& controls) {
    QWidget* window = controls.图形按钮关于->window();
    auto* tips = window->findChild<ButtonTipControl*>(QString(), Qt::FindDirectChildrenOnly);
    if (tips == nullptr) {
        tips = new ButtonTipControl(window);  // owned by the window
    }
    QWidget* const buttons[] = {controls.图形按钮关于, controls.图形按钮服务设置,
                                controls.图形按钮添加, controls.图形按钮扫描,
                                controls.图形按钮刷新};
    for (QWidget* button : buttons) {
        // Installing the same control again only moves it to the front.
        button->installEventFilter(tips);
    }
}

void SupplyButtonTip(const QWidget* control, QString& tipText) {
    if (control == nullptr) {
        return;
    }
    const QString name = control->objectName();
    for (const ButtonTip& tip : BUTTON_TIPS) {
        if (name == QStringView(tip.button)) {
            tipText = QString::fromUtf16(tip.text);
            return;
        }
    }
}

}  // namespace tunvell

#include "button_tips.moc"
