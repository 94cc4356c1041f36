// Property nodes and their lists of children live in slabs of their own: nodes and
// lists made and dropped on several threads at once, in any order, never share
// memory, and a tree keeps every node's contents while others come and go around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/Stream.h"

namespace {

using tlhost::Grouping;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;

std::unique_ptr<StreamNode> Leaf(int thread, int i) {
    auto leaf = std::make_unique<StreamNode>(
        "X Leaf", "t" + std::to_string(thread) + "-" + std::to_string(i) + std::string(20, 'x'),
        Grouping::Leaf, ValueKind::OneD);
    leaf->set_value(StreamValue::OneD(thread * 1e6 + i));
    return leaf;
}

// Every child of `root` still holds what it was made with.
int Intact(const StreamNode& root, int thread) {
    int intact = 0;
    for (const auto& child : root.children()) {
        const int i = static_cast<int>(child->value().v[0] - thread * 1e6);
        if (child->name() ==
                "t" + std::to_string(thread) + "-" + std::to_string(i) + std::string(20, 'x') &&
            child->parent() == &root) {
            ++intact;
        }
    }
    return intact;
}

TEST(StreamNodeMemory, NodesMadeAndDroppedOnSeveralThreadsStayApartAndIntact) {
    constexpr int kThreads = 4;
    constexpr int kNodes = 3000;
    std::vector<int> intact(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &intact] {
            std::mt19937 random(static_cast<unsigned>(t));
            StreamNode root("X Root", "root", Grouping::Indexed);
            for (int i = 0; i < kNodes; ++i) root.AddChild(Leaf(t, i));
            // Drop half of them in a random order, then make as many again.
            for (int i = 0; i < kNodes / 2; ++i) {
                root.RemoveChild(random() % root.children().size());
            }
            for (int i = kNodes; i < kNodes + kNodes / 2; ++i) root.AddChild(Leaf(t, i));
            intact[static_cast<std::size_t>(t)] = Intact(root, t);
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(intact[static_cast<std::size_t>(t)], kNodes) << t;
}

TEST(StreamNodeMemory, ATreeKeepsItsNodesWhileEveryOtherNodeComesAndGoes) {
    StreamNode kept("X Root", "kept", Grouping::Indexed);
    for (int i = 0; i < 500; ++i) kept.AddChild(Leaf(1, i));
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<StreamNode>> passing;
        for (int i = 0; i < 2000; ++i) passing.push_back(Leaf(2, i));
        std::shuffle(passing.begin(), passing.end(), std::mt19937(static_cast<unsigned>(round)));
        passing.clear();
    }
    EXPECT_EQ(Intact(kept, 1), 500);
}

// Groups of every size from 0 to 300 children, grown one child at a time (so that
// each list passes through every block size) on several threads, some dropped and
// others grown again.
TEST(StreamNodeMemory, ListsOfChildrenOfEverySizeKeepTheirChildren) {
    constexpr int kThreads = 4;
    std::vector<int> bad(kThreads, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &bad] {
            std::vector<std::unique_ptr<StreamNode>> groups;
            for (int size = 0; size <= 300; ++size) {
                groups.push_back(std::make_unique<StreamNode>("X Group", "", Grouping::Named));
                for (int i = 0; i < size; ++i) groups.back()->AddChild(Leaf(t, i));
            }
            for (std::size_t g = 0; g < groups.size(); g += 2) groups[g].reset();
            for (std::size_t g = 1; g < groups.size(); g += 2) {
                for (int i = static_cast<int>(g); i < static_cast<int>(g) + 40; ++i)
                    groups[g]->AddChild(Leaf(t, i));
            }
            int wrong = 0;
            for (std::size_t g = 1; g < groups.size(); g += 2) {
                if (Intact(*groups[g], t) != static_cast<int>(g) + 40) ++wrong;
            }
            bad[static_cast<std::size_t>(t)] = wrong;
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(bad[static_cast<std::size_t>(t)], 0) << t;
}

}  // namespace
