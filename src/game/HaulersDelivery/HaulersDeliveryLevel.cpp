#include "game/HaulersDelivery/HaulersDeliveryLevel.h"

namespace Yardcrew
{

namespace
{

const YardcrewMaterial kMaterials[HaulersDeliveryType_Count] = {
    YardcrewMaterial_Plant,  YardcrewMaterial_Cone,   YardcrewMaterial_Cone,   YardcrewMaterial_Cone,
    YardcrewMaterial_Log,    YardcrewMaterial_Log,    YardcrewMaterial_Log,    YardcrewMaterial_Cement,
    YardcrewMaterial_Cement, YardcrewMaterial_Cement, YardcrewMaterial_Bricks, YardcrewMaterial_Bricks,
    YardcrewMaterial_Bricks};
const YardcrewColor kColors[HaulersDeliveryType_Count] = {
    YardcrewColor_None, YardcrewColor_Red,  YardcrewColor_Orange, YardcrewColor_Yellow, YardcrewColor_Yellow,
    YardcrewColor_Red,  YardcrewColor_None, YardcrewColor_Blue,   YardcrewColor_Red,    YardcrewColor_None,
    YardcrewColor_None, YardcrewColor_Blue, YardcrewColor_Red};

bool IsCargo(HaulersDeliveryType type)
{
    return type >= 0 && type < HaulersDeliveryType_Count;
}

} // namespace

YardcrewMaterial HaulersDeliveryMaterial(HaulersDeliveryType type)
{
    return IsCargo(type) ? kMaterials[type] : YardcrewMaterial_None;
}

YardcrewColor HaulersDeliveryColor(HaulersDeliveryType type)
{
    return IsCargo(type) ? kColors[type] : YardcrewColor_None;
}

eCargoMismatch CompareCargo(HaulersDeliveryType wanted, HaulersDeliveryType given)
{
    if (wanted == given)
        return CargoMismatch_None;
    if (HaulersDeliveryMaterial(wanted) == HaulersDeliveryMaterial(given))
        return CargoMismatch_Color;
    if (HaulersDeliveryColor(wanted) == HaulersDeliveryColor(given))
        return CargoMismatch_Type;
    return CargoMismatch_Both;
}

} // namespace Yardcrew
