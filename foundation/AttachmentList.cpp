#include "foundation/AttachmentList.h"

#include <new>

#include "foundation/TQelLSObj.h"

int AttachmentList::append(TQelLSObj* object) {
  AttachmentNode* node = new (std::nothrow) AttachmentNode;
  if (!node) return 0;
  node->object = object;
  node->previous = head.previous;
  node->next = &head;
  head.previous->next = node;
  head.previous = node;
  return 1;
}

void AttachmentList::destroy() {
  for (AttachmentLink* link = head.next; link != &head; link = link->next) {
    TQelLSObj* object = static_cast<AttachmentNode*>(link)->object;
    if (object) object->release();
  }
  AttachmentLink* link = head.next;
  while (link != &head) {
    AttachmentLink* following = link->next;
    delete static_cast<AttachmentNode*>(link);
    link = following;
  }
  head.next = head.previous = &head;
}

AttachmentNode* AttachmentList::first() const {
  return head.next == &head ? nullptr : static_cast<AttachmentNode*>(head.next);
}

AttachmentNode* AttachmentList::after(const AttachmentNode* node) const {
  return node->next == &head ? nullptr : static_cast<AttachmentNode*>(node->next);
}

std::int32_t AttachmentList::count() const {
  std::int32_t n = 0;
  for (const AttachmentLink* link = head.next; link != &head; link = link->next) ++n;
  return n;
}
