#include "scene/animation.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace morvanex {

std::string keyImageDisplayName(double seconds) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, seconds,
                                      std::chars_format::general, 6);
    std::string text = "Image cl\xE9, temps : ";
    text.append(digits, result.ptr);
    return text;
}

ObjectState& KeyImage::addState(SceneObject* object) {
    auto state = std::make_unique<ObjectState>();
    state->object = object;
    states.push_back(std::move(state));
    return *states.back();
}

KeyImage& Sequence::addKeyImage(double seconds) {
    keyImages.push_back(std::make_unique<KeyImage>(seconds, this));
    KeyImage& added = *keyImages.back();
    added.number = static_cast<std::int32_t>(keyImages.size() - 1);
    return added;
}

void Sequence::sortKeyImages() {
    std::stable_sort(keyImages.begin(), keyImages.end(),
                     [](const std::unique_ptr<KeyImage>& a,
                        const std::unique_ptr<KeyImage>& b) {
                         return a->time < b->time;
                     });
    std::int32_t number = 0;
    for (auto& key : keyImages) {
        key->number = number++;
    }
}

Animation::Animation(std::string animatedTargetName)
    : targetName(std::move(animatedTargetName)) {}

Sequence& Animation::addSequence(std::string name) {
    sequences.push_back(std::make_unique<Sequence>(std::move(name), this));
    return *sequences.back();
}

Sequence* Animation::findSequence(std::string_view name) const {
    for (const auto& sequence : sequences) {
        if (sequence->name == name) {
            return sequence.get();
        }
    }
    return nullptr;
}

void Animation::resolveSequenceReferences() {
    for (auto& sequence : sequences) {
        sequence->referenceIndex = -1;
    }
    for (std::size_t i = 0; i < kSequenceReferences; ++i) {
        Sequence* found = findSequence(sequenceReferenceNames[i]);
        sequenceReferences[i] = found;
        // The first reference naming a sequence is the one it answers to.
        if (found != nullptr && found->referenceIndex < 0) {
            found->referenceIndex = static_cast<std::int32_t>(i);
        }
    }
}

void Animation::forgetObject(const SceneObject* object) {
    if (object == nullptr) {
        return;
    }
    if (target == object) {
        target = nullptr;
    }
    for (auto& sequence : sequences) {
        for (auto& key : sequence->keyImages) {
            for (auto& state : key->states) {
                if (state->object == object) {
                    state->object = nullptr;
                }
            }
        }
    }
}

}  // namespace morvanex
