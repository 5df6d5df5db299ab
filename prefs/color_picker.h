// The colour picker: a grid of round buttons shown over the settings list — 101 hues around the
// colour wheel, white, black — and a "Hex" button for typing a colour. A pick goes to the
// delegate (ColorPickerDelegate) and closes the picker; a typed value that is not a colour
// keeps it open with a "Not a hex value" alert.
//
// Ownership: the picker owns its palette, its buttons and its grid; the delegate is not retained.
#pragma once

#include "foundation/ns_array.h"
#include "uikit/button.h"
#include "uikit/collection_view.h"
#include "uikit/text_field.h"
#include "uikit/view_controller.h"

#include <memory>

class NSIndexPath;

class ColorPicker : public UIViewController {
    OBJC_CLASS(ColorPicker, UIViewController)
public:
    // The hues: from 0 in steps of 0.01, the step and every sum in single precision, while the
    // sum stays below 1 — 101 of them, the last 0.9999993.
    static std::vector<float> paletteHues();

    objc::id delegate() const { return delegate_.lock(); }
    void setDelegate(const objc::id& delegate) { delegate_ = delegate; }
    const std::shared_ptr<NSMutableArray>& possibleColors() const { return possibleColors_; }
    void setPossibleColors(std::shared_ptr<NSMutableArray> colors) { possibleColors_ = std::move(colors); }
    const std::shared_ptr<NSMutableArray>& possibleColorButtons() const { return possibleColorButtons_; }
    void setPossibleColorButtons(std::shared_ptr<NSMutableArray> buttons) { possibleColorButtons_ = std::move(buttons); }
    const std::shared_ptr<UICollectionView>& colorCollection() const { return colorCollection_; }
    void setColorCollection(std::shared_ptr<UICollectionView> grid) { colorCollection_ = std::move(grid); }

    // Builds the grid and the palette (once: the view is loaded once).
    void viewDidLoad() override;
    void didReceiveMemoryWarning() override { UIViewController::didReceiveMemoryWarning(); }

    // The grid's data source and flow-layout delegate.
    long collectionViewNumberOfItemsInSection(const objc::id& grid, long section);
    objc::id collectionViewCellForItemAtIndexPath(const objc::id& grid, const std::shared_ptr<NSIndexPath>& indexPath);
    CGSize collectionViewLayoutSizeForItemAtIndexPath(const objc::id& grid, const objc::id& layout,
                                                      const std::shared_ptr<NSIndexPath>& indexPath);
    UIEdgeInsets collectionViewLayoutInsetForSectionAtIndex(const objc::id& grid, const objc::id& layout, long section);
    CGFloat collectionViewLayoutMinimumInteritemSpacingForSectionAtIndex(const objc::id& grid, const objc::id& layout,
                                                                        long section);

    // Runtime selector "colorPicked:": the action of every palette button.
    void colorPicked(const std::shared_ptr<UIButton>& button);
    // Runtime selector "returnToParentWithButton:": the action of the "Hex" button.
    void returnToParentWithButton(const std::shared_ptr<UIButton>& button);

private:
    std::shared_ptr<UIButton> paletteButton(const std::shared_ptr<UIColor>& color);
    void hexEntered(const std::string& text, const std::shared_ptr<UITextField>& field);

    std::weak_ptr<objc::Object> delegate_;
    std::shared_ptr<NSMutableArray> possibleColors_;
    std::shared_ptr<NSMutableArray> possibleColorButtons_;
    std::shared_ptr<UICollectionView> colorCollection_;
};
