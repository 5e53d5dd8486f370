#pragma once

#include <memory>

namespace catalog {

class EntryForm;
class ListForm;

// Registering the folder of the folder grid's current row: opens the
// registration dialog with the folder's entry (or a new one) and stores the
// answer in the window's CatalogModel (ApplyRegistration), whose rows the
// window draws; a view to rebuild is rebuilt here. The dialog is created on first use and
// lives as long as this editor; its 今すぐ保存 backs the folder up at once.
class RegistrationEditor {
  public:
    explicit RegistrationEditor(ListForm& form);
    ~RegistrationEditor();
    RegistrationEditor(const RegistrationEditor&) = delete;
    RegistrationEditor& operator=(const RegistrationEditor&) = delete;

    // The Enter key and the column-1 click of the folder grid.
    void Edit();
    // 保存BTN: the backup of the dialog's current values.
    void SaveNow();
    // The dialog, created on first use.
    EntryForm& Dialog();
    // Ends a wait of the dialog (the catalog window is closing).
    void Close();

  private:
    void PlaceBesideColumns(EntryForm& dialog);

    ListForm& form_;
    std::unique_ptr<EntryForm> dialog_;
};

}  // namespace catalog
