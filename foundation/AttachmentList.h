// AttachmentList: the objects attached to a frame, in order of appending. The list holds one
// reference per entry: append takes over a reference the caller already added (retain before
// appending); destruction releases every entry, first to last, then frees the nodes.
// The head is the ring's own sentinel (empty: it points at itself).
#pragma once

#include <cstdint>

class TQelLSObj;

struct AttachmentLink {
  AttachmentLink* next = this;
  AttachmentLink* previous = this;
};

struct AttachmentNode : AttachmentLink {
  TQelLSObj* object = nullptr;
};

class AttachmentList {
 public:
  AttachmentList() = default;
  AttachmentList(const AttachmentList&) = delete;
  AttachmentList& operator=(const AttachmentList&) = delete;
  ~AttachmentList() { destroy(); }

  // Appends `object` at the end without retaining it; 0 when out of memory (nothing taken).
  int append(TQelLSObj* object);
  // Releases every entry's object, first to last, and frees the nodes; the list is empty after.
  void destroy();

  // First entry, or null when empty.
  AttachmentNode* first() const;
  // Entry after `node`, or null at the end.
  AttachmentNode* after(const AttachmentNode* node) const;
  std::int32_t count() const;
  bool empty() const { return head.next == &head; }

 private:
  AttachmentLink head;  // head.next = first node, head.previous = last node
};
