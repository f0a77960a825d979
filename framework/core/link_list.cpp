#include "framework/core/link_list.h"

namespace qor {

int InitLinkList(LinkNode* head, LinkNode* tail) {
  *head = LinkNode{0xFFFFFFFFu, 0, nullptr, tail};
  *tail = LinkNode{0xFFFFFFFFu, 0, head, nullptr};
  return 0;
}

int AddLinkNode(LinkNode* head, LinkNode* node, uint32_t valueA, uint32_t valueB) {
  node->valueA = valueA;
  node->valueB = valueB;
  node->prev = head;
  node->next = head->next;
  if (head->next != nullptr) head->next->prev = node;
  head->next = node;
  return 0;
}

int UnlinkNode(LinkNode* node) {
  if (node->prev != nullptr) node->prev->next = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
  return 0;
}

}  // namespace qor
