#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.05
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.00
FILE_NAME: "speed"

#endregion // Wizard Header Information

#region Wizard Text

T: title "Set the speed limit"
T: speed_name "Speed limit"
#endregion // Wizard Text

#region Choice List Filter

#endregion // Choice List Filter

#region Array Filter

#endregion // Array Filter

#region Local Parameters

LP: lp_max = 1500
#endregion //Local Parameters

#region Scripts


#endregion //Scripts


#region Drive Param

P: motor_speed 125

#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Drive Screens

SCREEN_OVERLAY: intro
{
   OVERLAY: o_intro
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: limit
}

SCREEN_DUAL_PARAM: limit
{
   P: motor_speed
   VP: speed
   {
      T: speed_name
      MIN: 0
      VAL: 1500
      MAX: 3000
      SCALE: 0
      WS: ws_limit
      {
         CPY speed lp_max
      }
   }
   NS: confirm
}

SCREEN_SINGLE_PARAM: confirm
{
   VP: speed
}


#endregion //Drive Screens

