#include "uikit/collection_view.h"

#include "uikit/collection_view_cell.h"
#include "uikit/index_path.h"

using namespace objc;

OBJC_REGISTER(UICollectionView,
    c.method<&UICollectionView::initWithFrameCollectionViewLayout>("initWithFrame:collectionViewLayout:");
    c.method<&UICollectionView::collectionViewLayout>("collectionViewLayout");
    c.method<&UICollectionView::setCollectionViewLayout>("setCollectionViewLayout:");
    c.method<&UICollectionView::dataSource>("dataSource");
    c.method<&UICollectionView::setDataSource>("setDataSource:");
    c.method<&UICollectionView::reloadData>("reloadData");
    c.method<&UICollectionView::numberOfSections>("numberOfSections");
    c.method<&UICollectionView::numberOfItemsInSection>("numberOfItemsInSection:");
    c.method<&UICollectionView::cellForItemAtIndexPath>("cellForItemAtIndexPath:");
    c.method<&UICollectionView::indexPathForCell>("indexPathForCell:");
    c.method<&UICollectionView::indexPathForItemAtPoint>("indexPathForItemAtPoint:");
    c.method<&UICollectionView::selectItemAtIndexPathAnimatedScrollPosition>("selectItemAtIndexPath:animated:scrollPosition:");
    c.method<&UICollectionView::deselectItemAtIndexPathAnimated>("deselectItemAtIndexPath:animated:");
    c.method<&UICollectionView::allowsSelection>("allowsSelection");
    c.method<&UICollectionView::setAllowsSelection>("setAllowsSelection:");)

UICollectionView::UICollectionView()
    : cells_(*this,
             {"numberOfSectionsInCollectionView:"_sel, "collectionView:numberOfItemsInSection:"_sel,
              "collectionView:cellForItemAtIndexPath:"_sel, "collectionView:shouldSelectItemAtIndexPath:"_sel,
              "collectionView:didSelectItemAtIndexPath:"_sel},
             [this](long section) { return numberOfItemsInSection(section); })
{
}

UICollectionView::~UICollectionView()
{
    if (layout_ && layout_->collectionView() == this)
        layout_->setCollectionView(nullptr);
}

id UICollectionView::initWithFrameCollectionViewLayout(CGRect frame, std::shared_ptr<UICollectionViewFlowLayout> layout)
{
    id made = UIScrollView::initWithFrame(frame);
    if (!made)
        return nullptr;
    setCollectionViewLayout(layout ? std::move(layout) : std::make_shared<UICollectionViewFlowLayout>());
    return made;
}

id UICollectionView::initWithFrame(CGRect frame)
{
    return initWithFrameCollectionViewLayout(frame, nullptr);
}

void UICollectionView::setCollectionViewLayout(std::shared_ptr<UICollectionViewFlowLayout> layout)
{
    if (!layout)
        return; // a collection view always has a layout
    if (layout_ && layout_->collectionView() == this)
        layout_->setCollectionView(nullptr);
    layout_ = std::move(layout);
    layout_->setCollectionView(this);
    setNeedsLayout();
}

// --- Cells ------------------------------------------------------------------------------------

void UICollectionView::registerClassForCellWithReuseIdentifier(Class cellClass, const std::string& identifier)
{
    cells_.registerClass(cellClass, identifier);
}

std::shared_ptr<UICollectionViewCell> UICollectionView::dequeueReusableCellWithReuseIdentifierForIndexPath(
    const std::string& identifier, const std::shared_ptr<NSIndexPath>& indexPath)
{
    CGRect frame{};
    if (const auto attributes = attributesAt(indexPath))
        frame = attributes->frame;

    if (auto cell = cells_.takeReusableCell(identifier)) {
        cell->setFrame(frame);
        return cell;
    }
    const Class registered = cells_.registeredClass(identifier);
    id instance = registered ? registered->createInstance() : nullptr;
    if (!instance)
        return nullptr;
    auto cell = std::dynamic_pointer_cast<UICollectionViewCell>(msgSend<id>(instance, "initWithFrame:"_sel, frame));
    if (cell)
        cell->setReuseIdentifier(identifier);
    return cell;
}

// --- Data -------------------------------------------------------------------------------------

void UICollectionView::reloadData()
{
    cells_.reload();
    itemCounts_.reset();
    if (layout_)
        layout_->invalidateLayout();
    setNeedsLayout();
}

void UICollectionView::ensureCounts()
{
    if (itemCounts_)
        return;
    // Empty while asking: a data source that asks back meets no items, not another round.
    itemCounts_.emplace();
    itemCounts_ = cells_.askItemCounts();
}

long UICollectionView::numberOfSections()
{
    ensureCounts();
    return static_cast<long>(itemCounts_->size());
}

long UICollectionView::numberOfItemsInSection(long section)
{
    ensureCounts();
    if (section < 0 || static_cast<std::size_t>(section) >= itemCounts_->size())
        return 0;
    return (*itemCounts_)[static_cast<std::size_t>(section)];
}

// --- Layout -----------------------------------------------------------------------------------

void UICollectionView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    layoutCells();
}

void UICollectionView::layoutCells()
{
    if (!layout_)
        return;
    const auto pass = cells_.startLayout();
    if (!pass)
        return;
    ensureCounts();
    msgSend(layout_, "prepareLayout"_sel);
    setContentSize(layout_->collectionViewContentSize());

    std::vector<uikit::CellPlacement> wanted;
    for (const auto& attributes : layout_->layoutAttributesForElementsInRect(CGRect{contentOffset(), bounds().size}))
        wanted.push_back({{attributes.section, attributes.item}, attributes.frame});
    cells_.show(wanted);
}

std::shared_ptr<NSIndexPath> UICollectionView::indexPathForItemAtPoint(CGPoint point)
{
    layoutCells();
    for (const auto& attributes : layout_->layoutAttributesForElementsInRect(CGRectMake(point.x, point.y, 1e-6, 1e-6)))
        if (CGRectContainsPoint(attributes.frame, point))
            return NSIndexPath::indexPathForItemInSection(attributes.item, attributes.section);
    return nullptr;
}

std::optional<UICollectionViewLayoutAttributes> UICollectionView::layoutAttributesForItemAtIndexPath(
    const std::shared_ptr<NSIndexPath>& indexPath)
{
    layoutCells();
    const auto* attributes = attributesAt(indexPath);
    if (!attributes)
        return std::nullopt;
    return *attributes;
}

const UICollectionViewLayoutAttributes* UICollectionView::attributesAt(const std::shared_ptr<NSIndexPath>& indexPath) const
{
    const auto key = uikit::CellHost<UICollectionViewCell>::keyOf(indexPath);
    return key && layout_ ? layout_->layoutAttributesForItem(key->first, key->second) : nullptr;
}

// --- Selection --------------------------------------------------------------------------------

void UICollectionView::selectItemAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath,
                                                                   bool animated, unsigned long scrollPosition)
{
    cells_.select(indexPath);
}

void UICollectionView::deselectItemAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated)
{
    cells_.deselect(indexPath);
}

std::vector<std::shared_ptr<NSIndexPath>> UICollectionView::indexPathsForSelectedItems() const
{
    std::vector<std::shared_ptr<NSIndexPath>> paths;
    for (const auto& key : cells_.selection())
        paths.push_back(uikit::CellHost<UICollectionViewCell>::indexPathOf(key));
    return paths;
}

bool UICollectionView::handleSimulatedTap(CGPoint pointInSelf)
{
    const auto indexPath = indexPathForItemAtPoint(pointInSelf);
    return indexPath && selectItemByUser(indexPath);
}
