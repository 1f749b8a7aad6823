#include "TreeNodeList.h"

TreeNodeInfo& TreeNodeList::append(TreeNodeInfo record) {
    // The index is 16-bit, as the event carries it: past 32767 records it wraps, and clicks still find
    // their record by tree item and caption.
    record.index = static_cast<int16_t>(records_.size());
    records_.push_back(std::move(record));
    return records_.back();
}

const TreeNodeInfo* TreeNodeList::find(int32_t treeItem, const QString& caption) const {
    for (const TreeNodeInfo& record : records_)
        if (record.treeItem == treeItem && record.caption == caption) return &record;
    return nullptr;
}
