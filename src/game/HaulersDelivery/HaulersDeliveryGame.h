#pragma once

// The cargo-pattern game's registration and the description its mode reads.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& HaulersDeliveryDescription();
void RegisterHaulersDelivery();

} // namespace Yardcrew
