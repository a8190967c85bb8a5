// In-memory data set with states, events, a change log and packet load/save.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/tcomponent.h"
#include "toolkit/tdatalink.h"
#include "toolkit/tfield.h"
#include "wire/packet.h"

namespace tk {

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
const char* stateName(TDataSetState s);  // "inactive", "browse", "edit", "insert"

using TLocateOptions = unsigned;
inline constexpr TLocateOptions loCaseInsensitive = 1, loPartialKey = 2;

class TClientDataSet;
class TDataSource;
using TDataSetNotifyEvent = std::function<void(TClientDataSet& dataSet)>;

class TClientDataSet : public TComponent {
public:
    TClientDataSet(TComponent* owner, std::string name);
    // A set with the persistent fields `fields`, in order, owned by the set: what a set whose
    // fields are declared one by one holds, made from a layout.
    TClientDataSet(TComponent* owner, std::string name, const std::vector<wire::FieldDef>& fields);
    ~TClientDataSet() override;

    // Fields in order: the persistent fields declared on the set, or, for a set that has
    // none, fields made from the first packet loaded.
    const std::vector<TField*>& Fields() const { return fields_; }
    TField* FindField(std::string_view fieldName) const;
    TField& FieldByName(std::string_view fieldName) const;  // throws EDatabaseError

    TDataSetState State() const { return state_; }
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    bool Editing() const { return state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert; }
    // Opens with the rows loaded so far (none: empty); a query overrides it to read its rows.
    virtual void Open();
    void Close();

    // The row being inserted counts as a row: a set inserting its first row is not empty.
    bool IsEmpty() const;
    int RecordCount() const;
    int RecNo() const;  // 1-based; 0 when empty
    bool Eof() const;   // after Next on the last row, or empty
    bool Bof() const;

    // Moves: browse check first (a modified edit or insert is posted, else cancelled),
    // then the move, then AfterScroll when the row changed; First and Last always scroll.
    void First();
    void Last();
    void Next();
    void Prior();
    void SetRecNo(int recNo);

    bool Modified() const { return modified_; }
    void Insert();   // at the cursor
    void Append();   // at the end
    void Edit();     // on an empty set: Append
    void Post();     // UpdateRecord, BeforePost (may throw: row stays), store, AfterPost
    void Cancel();   // edit or insert only
    void Delete();   // of an insert: cancels it; on an empty set: EDatabaseError
    void CheckBrowseMode();
    // Asks the linked controls to write any pending edit into the fields.
    void UpdateRecord();

    // Replaces every row (closes and reopens); the change log is emptied; the first row is
    // current; AfterScroll runs when the set is not empty. Packet fields are matched by
    // name; a persistent field missing from the packet, or of another type, is an error
    // (EDatabaseError naming it) and leaves the set as it was.
    void SetData(const wire::DataPacket& packet);
    wire::DataPacket GetData() const;  // current rows, pending changes included

    // Change log of the unmerged changes, in the order they were made, against the rows as
    // last loaded or merged. Insert then edit is one insert; insert then delete is nothing.
    wire::ChangeLog Delta() const;
    int ChangeCount() const;
    bool LogChanges = true;
    void MergeChangeLog();  // the current rows become the base; the log empties
    // Undoes every unmerged change (inserts removed, edits restored, deletes brought
    // back), leaves edit or insert state, keeps the cursor on a valid row; when anything
    // was undone, AfterScroll runs (also on a set left empty).
    void CancelUpdates();

    // Browse check; exact match of every key field (strings case-insensitively with
    // loCaseInsensitive; numbers and dates by value; null matches null). On success the
    // cursor moves there and AfterScroll runs (also when it stood there already);
    // otherwise nothing moves.
    bool Locate(std::string_view keyFields, const std::vector<wire::Value>& values, TLocateOptions options);

    // Reads a field's display text for any row without moving the cursor (for views).
    std::string DisplayTextAt(int recNo, const TField& field) const;
    wire::Value ValueAt(int recNo, int fieldIndex) const;

    TDataSetNotifyEvent BeforeInsert, AfterInsert, OnNewRecord;
    TDataSetNotifyEvent BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost;
    TDataSetNotifyEvent BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete;
    TDataSetNotifyEvent BeforeScroll, AfterScroll;
    TDataSetNotifyEvent AfterOpen, AfterClose;

    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);

private:
    friend class TField;
    friend class TDataSource;
    void addField(TField* field);
    void removeField(TField* field);
    wire::Value fieldValue(const TField& field) const;
    wire::Value fieldOldValue(const TField& field) const;
    void setFieldValue(const TField& field, wire::Value v);
    void notify(TDataEvent event, TField* field = nullptr);
    int indexOf(const TField& field) const;  // column of `field` in the rows, or -1
    void focusField(TField& field);
    void addSource(TDataSource* source);
    void removeSource(TDataSource* source);
    void checkActive() const;
    void setState(TDataSetState s);
    void fire(const TDataSetNotifyEvent& event);
    void beginInsert(bool atEnd);
    void discardEdit();  // drops the row being edited or inserted without events
    void storeRow();
    // Moves to `index` with BeforeScroll and AfterScroll; when the cursor is there already,
    // no events unless `evenInPlace`.
    void scrollTo(int index, bool evenInPlace = false);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<TField*> fields_;
    std::vector<std::unique_ptr<TField>> ownedFields_;     // made from a packet: replaced by the next
    std::vector<std::unique_ptr<TField>> declaredFields_;  // persistent, made from a layout
    std::vector<TDataLink*> links_;
    TDataSetState state_ = TDataSetState::dsInactive;
    bool modified_ = false;
};

using TDataSet = TClientDataSet;

}  // namespace tk
