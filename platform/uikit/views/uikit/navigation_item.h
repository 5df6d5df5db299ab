// The title and bar buttons a view controller shows in a navigation bar.
#pragma once

#include "uikit/bar_button_item.h"

class UINavigationItem : public objc::Object {
    OBJC_CLASS(UINavigationItem, objc::Object)
public:
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::shared_ptr<UIBarButtonItem>& leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { left_ = std::move(item); }
    void setLeftBarButtonItemAnimated(std::shared_ptr<UIBarButtonItem> item, bool) { left_ = std::move(item); }
    const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { right_ = std::move(item); }
    void setRightBarButtonItemAnimated(std::shared_ptr<UIBarButtonItem> item, bool) { right_ = std::move(item); }

private:
    std::string title_;
    std::shared_ptr<UIBarButtonItem> left_;
    std::shared_ptr<UIBarButtonItem> right_;
};
