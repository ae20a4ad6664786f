// The main window's controls as the folder listing and the display refresh drive them: the file
// count, the two file scroll bars, the wait frame, the views' panels and the cells' names and
// marks. The pictures of the cells and of the single view are drawn by the views' own code.
#pragma once

#include "browse_view.h"

#include <memory>

class CatalogueView;
class InputBlock;
class ORVA_WIN;
class QScrollBar;
class SingleView;

class OrvaBrowseView : public BrowseView {
public:
    explicit OrvaBrowseView(ORVA_WIN& window);
    ~OrvaBrowseView() override;

    // The single-image view, which draws the picture of drawSingle.
    SingleView& single() { return *single_; }
    // The cells' pictures, marks and mouse behaviour.
    CatalogueView& catalogue() { return *catalogue_; }

    void setFileCount(const QString& caption) override;
    void setScrollRange(Bar bar, int min, int max, int largeChange) override;
    void setScrollValue(Bar bar, int value) override;
    void setScrollEnabled(Bar bar, bool enabled) override;
    void showWaitFrame(const QString& caption) override;
    void setWaitCaption(const QString& caption) override;
    void setWaitProgress(int done, int total) override;
    void hideWaitFrame() override;
    void setCommandsEnabled(bool enabled) override;
    void showCataloguePanel() override;
    void showSinglePanel() override;
    void processPendingEvents() override;
    QSize screenSize() const override;
    QWidget* messageOwner() override;
    void drawCell(int index, const QString& name) override;
    void markCell(int index, bool current) override;
    void drawSingle(const QString& name, bool current, const QString& next) override;
    void clearSingle() override;
    void relayout() override;

private:
    QScrollBar* scrollBar(Bar bar) const;

    ORVA_WIN& window_;
    std::unique_ptr<SingleView> single_;
    std::unique_ptr<CatalogueView> catalogue_;
    std::unique_ptr<InputBlock> catalogueBlock_; // the catalogue while commands are off
};
