// Alerts: a title, a message, text fields and a row of actions, presented modally. Choosing
// an action dismisses the alert and then runs the action's handler with the action.
//
// Ownership: the alert owns its actions and text fields; an action owns its handler.
#pragma once

#include "uikit/button.h"
#include "uikit/text_field.h"
#include "uikit/view_controller.h"

#include <functional>
#include <string>
#include <vector>

enum UIAlertControllerStyle : long {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

enum UIAlertActionStyle : long {
    UIAlertActionStyleDefault = 0,
    UIAlertActionStyleCancel = 1,
    UIAlertActionStyleDestructive = 2,
};

class UIAlertAction : public objc::Object {
    OBJC_CLASS(UIAlertAction, objc::Object)
public:
    using Handler = std::function<void(const std::shared_ptr<UIAlertAction>&)>;

    // A nil handler is allowed: choosing the action then only dismisses the alert.
    static std::shared_ptr<UIAlertAction> actionWithTitleStyleHandler(const std::string& title, long style,
                                                                      Handler handler);

    const std::string& title() const { return title_; }
    long style() const { return style_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    const Handler& handler() const { return handler_; }

private:
    std::string title_;
    long style_ = UIAlertActionStyleDefault;
    bool enabled_ = true;
    Handler handler_;
};

class UIAlertController : public UIViewController {
    OBJC_CLASS(UIAlertController, UIViewController)
public:
    using TextFieldConfiguration = std::function<void(const std::shared_ptr<UITextField>&)>;

    // An empty title or message is shown as none.
    static std::shared_ptr<UIAlertController> alertControllerWithTitleMessagePreferredStyle(const std::string& title,
                                                                                            const std::string& message,
                                                                                            long style);

    const std::string& message() const { return message_; }
    void setMessage(std::string message);
    long preferredStyle() const { return preferredStyle_; }

    // A nil action is ignored.
    void addAction(const std::shared_ptr<UIAlertAction>& action);
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }
    // Adds a text field (default keyboard, empty text) and lets the handler (if any) set it
    // up. Only alerts have text fields: on an action sheet the call is ignored.
    void addTextFieldWithConfigurationHandler(const TextFieldConfiguration& handler);
    const std::vector<std::shared_ptr<UITextField>>& textFields() const { return textFields_; }

    // What a tap on an action's button does: the alert is dismissed (when presented), then the
    // handler runs. False (nothing happens) for an index out of range, an unknown title or a
    // disabled action. With several actions of one title, the first is chosen.
    bool invokeActionAtIndex(std::size_t index);
    bool invokeActionWithTitle(const std::string& title);

    // A dimmed full-screen view with a centred box: title, message, text fields, then the
    // action buttons (side by side for two actions, stacked otherwise).
    void loadView() override;

private:
    bool invokeAction(const std::shared_ptr<UIAlertAction>& action);
    // Runtime selector "_actionButtonPressed:": the action of every action button (its tag is
    // the action's index).
    void actionButtonPressed(const std::shared_ptr<UIButton>& button);
    void buildContent();

    std::string message_;
    long preferredStyle_ = UIAlertControllerStyleAlert;
    std::vector<std::shared_ptr<UIAlertAction>> actions_;
    std::vector<std::shared_ptr<UITextField>> textFields_;
};
