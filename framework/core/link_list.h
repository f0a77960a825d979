// A doubly linked list between two sentinel nodes (the sound code's list of
// stream sounds). Nodes belong to their users; the list only links them.
#pragma once

#include <cstdint>

namespace qor {

struct LinkNode {
  uint32_t valueA = 0;
  uint32_t valueB = 0;
  LinkNode* prev = nullptr;
  LinkNode* next = nullptr;
};

// Empty list: head {-1, 0, none, tail}, tail {-1, 0, head, none}. 0.
int InitLinkList(LinkNode* head, LinkNode* tail);
// Fills the node and links it right after the head. 0.
int AddLinkNode(LinkNode* head, LinkNode* node, uint32_t valueA, uint32_t valueB);
// Joins the node's neighbours. 0.
int UnlinkNode(LinkNode* node);

}  // namespace qor
