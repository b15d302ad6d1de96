// The link of a control to its DG item and the base of every control class.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "interaction/control_setting.h"
#include "interaction/interface_event.h"
#include "platform/dialog_operations.h"
#include "runtime/cad_string.h"
#include "runtime/publisher.h"

namespace lunvik {

class Dialog;

// The item a control reaches in its dialog; item -1 while not attached.
class ControlLink {
 public:
  ControlLink() = default;
  ControlLink(int16_t item, Dialog* dialog) : item_(item), dialog_(dialog) {}
  int16_t item() const { return item_; }
  Dialog* dialog() const { return dialog_; }
  // The DG id of the dialog; 0 while it is closed or not attached.
  int16_t dialId() const;
  bool attached() const { return item_ != -1 && dialog_; }

 private:
  int16_t item_ = -1;
  Dialog* dialog_ = nullptr;
};

// One dialog item as an object: a publisher of its item's events with a grid of cells.
class DialogControl : public Publisher {
 public:
  DialogControl(Dialog& dialog, int16_t item, int32_t rows = 1, int32_t columns = 1);
  ~DialogControl() override = default;

  const ControlLink& link() const { return link_; }
  Dialog& dialog() const { return *link_.dialog(); }
  int16_t dialId() const { return link_.dialId(); }
  int16_t item() const { return link_.item(); }
  // The items this control stands for (a radio group has several).
  virtual std::vector<int16_t> items() const { return {item()}; }
  // Whether id is one of this control's items.
  bool ownsItem(int16_t id) const;

  platform::DGRect rect() const;
  bool enabled() const;
  bool visible() const;
  void show(bool on = true);
  void hide() { show(false); }
  void enable(bool on = true);
  void disable() { enable(false); }
  void setFocus();
  void move(int16_t dx, int16_t dy) { moveAndGrow(dx, dy, 0, 0); }
  void grow(int16_t dw, int16_t dh) { moveAndGrow(0, 0, dw, dh); }
  void moveAndGrow(int16_t dx, int16_t dy, int16_t dw, int16_t dh);
  void setFont(int32_t font);
  void redraw();

  // The grid size (1 x 1 for simple controls).
  virtual int32_t rows() const { return rows_; }
  virtual int32_t columns() const { return columns_; }
  // Whether the cell is inside the grid (0-based).
  bool hasCell(int32_t row, int32_t column) const;
  // A new setting holding the cell's current value; null outside the grid.
  std::unique_ptr<ControlSetting> setting(int32_t row = 0, int32_t column = 0) const;
  // Writes a setting into a cell; false outside the grid.
  bool setCell(const ControlSetting& value, int32_t row = 0, int32_t column = 0);
  // A cell's text; empty outside the grid.
  virtual CadString cellText(int32_t row = 0, int32_t column = 0) const;
  virtual bool setCellText(const CadString& text, int32_t row = 0, int32_t column = 0);
  // A cell's icon (0 none).
  virtual int32_t cellIcon(int32_t, int32_t) const { return 0; }
  virtual void setCellIcon(int32_t, int32_t, int32_t) {}

  // The DG item's text (empty when it cannot be read).
  CadString itemText() const;
  // The DG item's text into text; false, text unchanged, when the host cannot give it.
  bool readItemText(CadString& text) const;
  void setItemText(const CadString& text);

  // Handles an event of one of its items: publishes it to its subscribers.
  virtual bool handleEvent(InterfaceEvent& event) { return publish(event); }

 protected:
  // The cell's value; the grid is checked.
  virtual std::unique_ptr<ControlSetting> cellSetting(int32_t row, int32_t column) const;
  virtual void storeCell(const ControlSetting& value, int32_t row, int32_t column);
  // The DG item's number value.
  double itemValue() const;
  void setItemValue(double value);

 private:
  ControlLink link_;
  int32_t rows_;
  int32_t columns_;
};

}  // namespace lunvik
