// The type-information tree's node records: one per node an enumeration creates, kept in creation order.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <deque>

struct TreeNodeInfo {
    int16_t index = 0; // position in the list; the Index of NodeClick
    QString caption;
    int32_t treeItem = 0;
    QPointer<QObject> object;       // the described object
    QPointer<QObject> parentObject; // and its parent
    int32_t varType = 0;
    int32_t varObj = 0;
    QString helpString;
    QString enumString;
    QString eventString;
};

// A deque: a record stays where it is while later ones are appended.
class TreeNodeList {
  public:
    // Appends a record, giving it its index.
    TreeNodeInfo& append(TreeNodeInfo record);
    void clear() { records_.clear(); }
    // The first record of a tree item whose caption is the item's text; null when there is none.
    const TreeNodeInfo* find(int32_t treeItem, const QString& caption) const;
    const std::deque<TreeNodeInfo>& records() const { return records_; }

  private:
    std::deque<TreeNodeInfo> records_;
};
