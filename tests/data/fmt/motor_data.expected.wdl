#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.12
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "motor_data"

#endregion // Wizard Header Information

#region Wizard Text

T: yes_text "Yes"
T: no_text "No"
T: save_name "Save settings"
H: save_name "Yes stores the settings in the drive's memory.\nNo leaves them active until power-down."
T: intro_title "Motor data"
H: intro_title "Have the motor's nameplate at hand.\nAll values are entered as printed on it."
T: motor_type_name "Motor construction"
T: induction "Asynchronous (induction)"
T: pm_motor "Permanent magnet"
T: power_text "Motor power"
T: voltage_text "Motor voltage"
T: current_text "Motor current"
T: frequency_text "Motor frequency"
T: speed_text "Motor nominal speed"
T: poles_name "Pole pairs"
H: poles_name "Half the number of poles; 2 for a 1450 rpm motor at 50 Hz."
T: ama_title "Run an automatic motor adaptation now? The motor must be at standstill."
T: summary_title "Motor data stored in all setups."
#endregion // Wizard Text

#region Choice List Filter

#endregion // Choice List Filter

#region Array Filter

#endregion // Array Filter

#region Local Parameters

LP: lp_construction = 0
LP: lp_induction = 0
LP: lp_setup = 1
#endregion //Local Parameters

#region Scripts

SUBROUTINE: sr_copy_to_setups
{
   CPY motor_power[1] motor_power[ALL]
   CPY motor_voltage[1] motor_voltage[ALL]
   CPY motor_current[1] motor_current[ALL]
   RET
}


#endregion //Scripts


#region Drive Param


#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Drive Screens

SCREEN_OVERLAY: intro
{
   OVERLAY: o_intro
   {
      T: intro_title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_TO_STATUS
      BACK_ACTION: NO_ACTION
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: construction
}

SCREEN_SINGLE_PARAM: construction
{
   PRE_SCREEN_SCRIPT: pre_construction
   {
      SETUP lp_setup
   }
   VCP: motor_construction
   {
      T: motor_type_name
      H: motor_type_name
      CL: constructions
      {
         induction*
         pm_motor
      }
      WS: ws_construction
      {
         CPY motor_construction lp_construction
      }
   }
   NS: power_voltage
}

SCREEN_DUAL_PARAM: power_voltage
{
   P: motor_power 120
   {
      TO: power_text
   }
   P: motor_voltage 122
   {
      TO: voltage_text
   }
   NS: current_frequency
}

SCREEN_DUAL_PARAM: current_frequency
{
   P: motor_current 124
   {
      TO: current_text
   }
   P: motor_frequency 123
   {
      TO: frequency_text
   }
   NS: speed_poles
}

SCREEN_DUAL_PARAM: speed_poles
{
   P: motor_speed 125
   {
      TO: speed_text
   }
   VP: pole_pairs
   {
      T: poles_name
      H: poles_name
      MIN: 1
      VAL: 2
      MAX: 16
      SCALE: 0
      WS: ws_poles
      {
         MUL pole_pairs motor_frequency motor_speed
      }
   }
   NSS: choose_ama
   {
      BNE lp_construction lp_induction 1
      SNS ama
      BRA 2
      LBL 1
      SNS summary
      LBL 2
   }
}

SCREEN_OVERLAY: ama
{
   OVERLAY: o_ama
   {
      T: ama_title
      OK_ACTION: PROCEED_TO_AMA
      CANCEL_ACTION: GOTO_NEXT_SCREEN
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: save_screen
}

SCREEN_SINGLE_PARAM: save_screen
{
   VCP: save_choice
   {
      T: save_name
      H: save_name
      CL: yes_no
      {
         yes_text*
         no_text
      }
   }
   PSS: pss_save
   {
      CALL sr_copy_to_setups
   }
   NS: summary
}

SCREEN_OVERLAY: summary
{
   OVERLAY: o_summary
   {
      T: summary_title
      OK_ACTION: EXIT_WIZARD
      CANCEL_ACTION: NO_ACTION
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
}


#endregion //Drive Screens

